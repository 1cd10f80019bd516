// The rules every binding takes from the core rather than writing its own:
// the seed a player writes, when a live clock wakes, the refusals' words.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/live_wake.h"
#include "core/random.h"
#include "core/refusal.h"
#include "replay/replay.h"

namespace vendral {
namespace {

TEST(Seed, WholeNumbersInDigitsAloneOverTheWholeRange) {
    EXPECT_EQ(parseSeed("0"), 0u);
    EXPECT_EQ(parseSeed("1"), 1u);
    EXPECT_EQ(parseSeed("007"), 7u);
    EXPECT_EQ(parseSeed("18446744073709551615"), 18446744073709551615u);
    for (const char* refused : {"", "-1", "+1", " 1", "1 ", "1.5", "1e3", "0x10", "abc", "18446744073709551616",
                                "99999999999999999999", "123456789012345678901234567890"})
        EXPECT_EQ(parseSeed(refused), std::nullopt) << '"' << refused << '"';
}

// The scripted player's command line refuses a seed it cannot read, and plays
// any it can with exactly that seed.
TEST(Seed, TheScriptedPlayerRefusesASignedOrOverlongSeed) {
    const std::string script = ::testing::TempDir() + "seed_test.script";
    std::ofstream(script) << "name Ann\n";
    auto run = [&](const char* seedText, std::optional<std::uint64_t>& played) {
        std::vector<std::string> args{"vendral-replay", "--seed", seedText, script};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        played.reset();
        ::testing::internal::CaptureStderr();
        const int status = replayMain(static_cast<int>(argv.size()), argv.data(),
                                      [&](const std::vector<ScriptLine>&, std::uint64_t seed, std::ostream&) {
                                          played = seed;
                                          return 0;
                                      });
        const std::string err = ::testing::internal::GetCapturedStderr();
        return std::make_pair(status, err);
    };
    std::optional<std::uint64_t> played;
    for (const char* refused : {"-1", "+5", "18446744073709551616", ""}) {
        const auto [status, err] = run(refused, played);
        EXPECT_EQ(status, 2) << refused;
        EXPECT_EQ(err, "vendral-replay: --seed takes a whole number\n") << refused;
        EXPECT_FALSE(played) << refused;
    }
    const auto [status, err] = run("18446744073709551615", played);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(played, 18446744073709551615u);
    std::remove(script.c_str());
}

TEST(LiveWake, TicksDueCloseTogetherShareOneWakeUpEvery15Ms) {
    LiveWake wake;
    // Before the first wake-up nothing holds a tick back.
    EXPECT_EQ(wake.at(5, 0), 5);
    wake.woke(100);
    // A tick still to come within 15 ms of the last wake-up waits for the 15 ms.
    EXPECT_EQ(wake.at(101, 100), 115);
    EXPECT_EQ(wake.at(114, 105), 115);
    // One further off wakes when it falls due.
    EXPECT_EQ(wake.at(115, 100), 115);
    EXPECT_EQ(wake.at(400, 100), 400);
    // A tick already due wakes at once, whenever the last wake-up was.
    EXPECT_EQ(wake.at(102, 102), 102);
    EXPECT_EQ(wake.at(90, 103), 90);
    wake.woke(500);
    EXPECT_EQ(wake.at(501, 500), 515);
}

TEST(Refusals, EveryRefusalHasItsOwnKeyAndText) {
    std::set<std::string_view> keys, texts;
    for (int r = static_cast<int>(Refusal::UnknownScreen); r <= static_cast<int>(Refusal::Covered); ++r) {
        const auto refusal = static_cast<Refusal>(r);
        EXPECT_FALSE(refusalKey(refusal).empty()) << r;
        EXPECT_FALSE(refusalText(refusal).empty()) << r;
        keys.insert(refusalKey(refusal));
        texts.insert(refusalText(refusal));
    }
    EXPECT_EQ(keys.size(), refusals().size());
    EXPECT_EQ(texts.size(), refusals().size());
    EXPECT_EQ(refusalText(Refusal::None), "");
    EXPECT_EQ(refusalKey(Refusal::None), "");
}

}  // namespace
}  // namespace vendral
