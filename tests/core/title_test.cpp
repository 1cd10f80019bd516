// The title screen's load step: what each answer to the name prompt makes of
// the player's name, and which messages it brings.
#include <gtest/gtest.h>

#include <string>

#include "replay/replay.h"

namespace vendral {
namespace {

struct NameCase {
    const char* script;    // the name prompt's answer, as script lines
    const char* name;      // the player's name afterwards
    const char* complaint; // the extra message, if any
};

std::string stateLine(const std::string& transcript, const std::string& var) {
    const std::string key = "state " + var + "=";
    const auto at = transcript.find(key);
    if (at == std::string::npos) return "<missing>";
    const auto end = transcript.find('\n', at);
    return transcript.substr(at + key.size(), end - at - key.size());
}

TEST(TitleScreen, TheNamePromptKeepsWhatWasTypedButEmptyAndReservedNames) {
    const NameCase cases[] = {
        {"name Tom\n", "Tom", nullptr},
        {"name  \n", " ", nullptr},  // one space is a name
        {"name \n", "Stranger", "You didn't put in your name, stranger!!"},
        {"name\n", "Stranger", "You didn't put in your name, stranger!!"},
        {"cancel\n", "Stranger", "You didn't put in your name, stranger!!"},
        {"", "Stranger", "You didn't put in your name, stranger!!"},  // no answer queued: Cancel
        {"name Cheater\n", "Stranger", "You can't use that name!"},
        {"name cheater\n", "Stranger", "You can't use that name!"},
        {"name Nilrem\n", "Stranger", "You can't use that name!"},
        {"name CHEATER\n", "CHEATER", nullptr},
        {"name nilrem\n", "nilrem", nullptr},
        {"name Nilrem \n", "Nilrem ", nullptr},
        {"name <b>Tom</b> & A&B\n", "<b>Tom</b> & A&B", nullptr},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.script);
        std::string transcript;
        ASSERT_EQ(replayHeadless(std::string(c.script) + "state\n", transcript), 0) << transcript;
        EXPECT_EQ(stateLine(transcript, "playername"), c.name);
        EXPECT_EQ(stateLine(transcript, "money"), "10000");
        const bool complained = transcript.find("message: You didn't put in your name") != std::string::npos ||
                                transcript.find("message: You can't use that name!") != std::string::npos;
        EXPECT_EQ(complained, c.complaint != nullptr);
        if (c.complaint) EXPECT_NE(transcript.find(std::string("message: ") + c.complaint), std::string::npos);
        // The two help messages come last, in this order, every time.
        const auto help1 = transcript.find("message: And, there is a lot of repetition");
        const auto help2 = transcript.find("message: Enter in the code to jump ahead");
        ASSERT_NE(help1, std::string::npos);
        ASSERT_NE(help2, std::string::npos);
        EXPECT_LT(help1, help2);
    }
}

TEST(TitleScreen, ARunRepeatsExactlyUnderTheSameSeed) {
    const std::string script = "name Tom\nclick Form1.cmdwizard\nclick Form1.cmdstart\nstate\n";
    std::string a, b;
    ASSERT_EQ(replayHeadless(script, a, 7), 0);
    ASSERT_EQ(replayHeadless(script, b, 7), 0);
    EXPECT_EQ(a, b);
}

TEST(TitleScreen, TheScriptedPlayerRefusesWhatAPlayerCouldNotDo) {
    std::string t;
    EXPECT_EQ(replayHeadless("name Tom\nclick Form1.cmdstart\n", t), 2);  // hidden before a hero is chosen
    EXPECT_NE(t.find("error: "), std::string::npos);
    EXPECT_EQ(replayHeadless("name Tom\nclick Form9.x\n", t), 2);
    EXPECT_EQ(replayHeadless("name Tom\nclick Form2.Command1\n", t), 2);  // not loaded
    EXPECT_EQ(replayHeadless("name Tom\ntype Form1.cmdverify abc\n", t), 2);
    EXPECT_EQ(replayHeadless("name Tom\nroll 10\n", t), 2);
    EXPECT_EQ(replayHeadless("name Tom\nfly away\n", t), 2);
    // The end of the game stops the script; a line after it is an error.
    EXPECT_EQ(replayHeadless("name Tom\nclick Form1.cmdintroduction\nclick Form2.Command2\n", t), 0);
    EXPECT_TRUE(t.ends_with("\nend\n")) << t;
    EXPECT_EQ(replayHeadless("name Tom\nclick Form1.cmdintroduction\nclick Form2.Command2\nstate\n", t), 2);
    EXPECT_TRUE(t.ends_with("\nend\nerror: the game has ended\n")) << t;
}

}  // namespace
}  // namespace vendral
