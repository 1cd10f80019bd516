#include "replay/headless.h"

namespace vendral {

std::string oneLine(const std::string& text) {
    // Most messages hold no line break: copied whole, a run at a time.
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
        out.append(text, from, at - from).append("\\n");
    out.append(text, from, std::string::npos);
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    out += '"';
    return out;
}

void HeadlessPlatform::emit(const std::string& line) {
    if (onLine) onLine(line);
}

void HeadlessPlatform::messageBox(const std::string& text) { emit("message: " + oneLine(text)); }

std::optional<std::string> HeadlessPlatform::prompt(const std::string& title, const std::string& text) {
    emit("prompt: " + oneLine(title) + " | " + oneLine(text));
    std::optional<std::string> answer;
    if (!names_.empty()) {
        answer = std::move(names_.front());
        names_.pop_front();
    }
    emit(answer ? "answer: " + oneLine(*answer) : std::string("answer: (cancel)"));
    return answer;
}

std::optional<int> HeadlessPlatform::scriptedRoll() {
    if (rolls_.empty()) return std::nullopt;
    int d = rolls_.front();
    rolls_.pop_front();
    return d;
}

void HeadlessPlatform::endProgram() {
    ended_ = true;
    emit("end");
}

}  // namespace vendral
