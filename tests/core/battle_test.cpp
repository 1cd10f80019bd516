// The Final Battle on the headless platform: set-up, the action step run
// over every answer of every action, magic, falls, stun, potions, revive,
// FURY, victory and Quit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game.h"
#include "replay/headless.h"
#include "screens/form4/battle.h"
#include "screens/screens.h"

namespace vendral {
namespace {

using form4::Action;
using form4::Effect;
using form4::Lines;

// A game brought to the battle as the way in leaves it.
struct Battle {
    HeadlessPlatform platform;
    Game g{platform, allScreens()};
    std::vector<std::string> seen;     // messages since the set-up
    std::vector<std::string> caption;  // the window caption as each message was shown

    Battle(const std::string& heroclass, int firstRoll, const std::string& name = "Tom") {
        platform.onLine = [this](const std::string& l) {
            seen.push_back(l);
            const Screen* f = g.findLoaded("Form4");
            caption.push_back(f ? f->caption() : "");
        };
        platform.queueName(name);
        g.start();
        g.state.heroclass = heroclass;
        g.state.lifepotions = 3;
        g.state.magicpotions = 1;
        g.state.refillpotions = 2;
        g.hide("Form1");
        seen.clear();
        caption.clear();
        platform.queueRoll(firstRoll);
        g.show("Form4");
    }
    Screen& f() { return g.screen("Form4"); }
    std::string cap(std::string_view c) { return f()[c].caption(); }
    bool on(std::string_view c) { return f()[c].visible() && f()[c].enabled(); }
    void click(std::string_view c, int nextRoll = 0) {
        platform.queueRoll(nextRoll);
        seen.clear();
        caption.clear();
        ASSERT_EQ(g.click("Form4", c), Refusal::None) << c;
    }
    void wait(std::int64_t ms) { platform.wait(g, ms); }
};

std::vector<std::string> messages(std::initializer_list<const char*> texts) {
    std::vector<std::string> out;
    for (const char* t : texts) out.push_back(std::string("message: ") + t);
    return out;
}

TEST(Battle, SetUpByClassAndHardMode) {
    Battle w("Wizard", 4);
    ASSERT_EQ(w.seen.size(), 6u);
    EXPECT_EQ(w.seen[0],
              "message: Congrats! You probably have played for a while. Here's the code to get to here:TEKAVURM.");
    EXPECT_EQ(w.seen[5], "message: Both of you get an upgrade of Life and Magic.");
    EXPECT_EQ(w.caption[5], "Final Battle");  // the roll comes last
    EXPECT_EQ(w.f().caption(), "Final Battle4");
    EXPECT_EQ(w.cap("Label1"), "Wizard");
    const GameState& s = w.g.state;
    EXPECT_EQ(s.life, 1000);
    EXPECT_EQ(s.magic, 2000);
    EXPECT_EQ(s.enemylife, 75000);
    EXPECT_EQ(s.flamellife, 500);
    EXPECT_EQ(s.flamelmagic, 1000);
    EXPECT_EQ(s.revives, 100);
    EXPECT_EQ(s.lifepotions, 103);
    EXPECT_EQ(s.magicpotions, 101);
    EXPECT_EQ(s.refillpotions, 2);
    EXPECT_EQ(s.battleroll, 4);
    for (auto c : {"lblmmagic", "wizardlnt", "wizardif", "wizardchange", "wizardso", "UM", "UR", "UL"})
        EXPECT_TRUE(w.on(c)) << c;
    for (auto c : {"knightba", "knightss", "knightsw", "cmdfury", "Image2"}) EXPECT_FALSE(w.f()[c].visible()) << c;
    EXPECT_FALSE(w.f()["cmdrevive"].enabled());

    Battle k("Knight", 0);
    EXPECT_EQ(k.seen[5], "message: You get an upgrade of Life and Flamel gets an upgrade of Life and Magic.");
    EXPECT_TRUE(k.g.state.magic.empty());  // the knight's magic is left alone
    for (auto c : {"knightba", "knightss", "knightsw", "UL"}) EXPECT_TRUE(k.on(c)) << c;
    for (auto c : {"lblmmagic", "UM", "UR", "wizardlnt"}) EXPECT_FALSE(k.f()[c].visible()) << c;
    EXPECT_EQ(k.cap("lblelife"), "Nilrem's life:75000");

    Battle hard("Knight", 0, "Valoro");
    EXPECT_EQ(hard.g.state.enemylife, 750000);
    EXPECT_EQ(hard.cap("lblelife"), "Nilrem's life:750000");
    Battle soft("Knight", 0, "valoro");
    EXPECT_EQ(soft.g.state.enemylife, 75000);
}

// Each table: ten rows, per row the number of outcome messages and the kind
// of effect with its amount ("'" marks a label prefix of the row's own).
std::string signature(const Action& a) {
    std::string out;
    for (const auto& row : a.answers) {
        int lines = 0;
        for (auto l : row.outcome) lines += l.empty() ? 0 : 1;
        const auto& e = row.effect;
        const char* kind = "?";
        switch (e.kind) {
        case Effect::None: kind = "-"; break;
        case Effect::NilremLoses: kind = "N"; break;
        case Effect::HeroLoses: kind = "H"; break;
        case Effect::HeroDies: kind = "D"; break;
        case Effect::HeroLifeZero: kind = "Z"; break;
        case Effect::HeroStunned: kind = "S"; break;
        case Effect::HeroStunnedKeepsPotions: kind = "s"; break;
        case Effect::FlamelLoses: kind = "F"; break;
        case Effect::FlamelDies: kind = "X"; break;
        }
        if (!out.empty()) out += ' ';
        out += std::to_string(lines) + kind + (e.amount ? std::to_string(e.amount) : "");
        out += e.prefix.empty() ? "" : "'";
    }
    return out;
}

TEST(Battle, AnswerTablesHaveTheirTenRows) {
    const std::vector<std::pair<const char*, const char*>> expected{
        {"knightba", "1H400 1N300 2H999 1N250 2H750 1N250 1S 1D 1- 3D"},
        {"knightss", "1N200 1H200 1H999 1N300 1H750 1N500 1S 2N100 1N300 3N200"},
        {"knightsw", "1- 1- 1N700 1H300 1H750 1N300 1S 2- 1N100 3D"},
        {"wizardlnt", "2- 1H300 2H999 1N1000 1H500 1N200 1s 1- 1- 3D"},
        {"wizardif", "2H100 1H300 1- 1H300 1Z 1S 1- 3N1000 1- 3D"},
        {"wizardchange", "2- 1H300 1- 1N1200 4X 1H100 2- 2D 1N300 3D"},
        {"wizardso", "2- 1- 2H300 1- 1- 1N100 1- 1D 1H100 3D"},
        {"flamelf", "1- 1N250 1- 1- 1F400 1N50 1- 1X 1N50' 1X"},
        {"flamelfb", "2- 1F300 1- 1F200 1N700 1- 1- 1X 1F499 3X"},
        {"flamellnt", "1- 1F250' 1F400 1N200 1- 1F50 1- 1X 1N50' 1X"},
        {"flamelhit", "1F300 1F250 1F400 1F100 1- 1F50 1- 1X 1- 1N5000"},
    };
    std::vector<const Action*> all(form4::heroActions.begin(), form4::heroActions.end());
    all.insert(all.end(), form4::flamelActions.begin(), form4::flamelActions.end());
    ASSERT_EQ(all.size(), expected.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i]->control, expected[i].first);
        EXPECT_EQ(signature(*all[i]), expected[i].second) << expected[i].first;
        for (const auto& opening : *all[i]->openings) EXPECT_FALSE(opening[0].empty());
    }
}

// Every answer of every action, from the set-up values: the answer's
// messages and nothing else, its one effect, the payment and the new roll.
TEST(Battle, EveryAnswerOfEveryAction) {
    std::vector<const Action*> all(form4::heroActions.begin(), form4::heroActions.end());
    all.insert(all.end(), form4::flamelActions.begin(), form4::flamelActions.end());
    for (const Action* a : all) {
        for (int roll = 0; roll < 10; ++roll) {
            SCOPED_TRACE(std::string(a->control) + " roll " + std::to_string(roll));
            const bool knight = a->control.starts_with("knight");
            Battle b(knight ? "Knight" : "Wizard", roll);
            b.click(a->control, 7);
            const auto& row = a->answers[static_cast<std::size_t>(roll)];
            std::vector<std::string> want;
            for (const Lines* part : {&(*a->openings)[static_cast<std::size_t>(roll)], &row.outcome})
                for (auto l : *part)
                    if (!l.empty()) want.push_back("message: " + std::string(l));
            EXPECT_EQ(b.seen, want);
            EXPECT_EQ(b.f().caption(), "Final Battle7");

            const GameState& s = b.g.state;
            const bool hero = a->actor == form4::Actor::Hero;
            // The cost is paid from the full stock; the knight has none to pay.
            if (knight) {
                EXPECT_TRUE(s.magic.empty());
            } else {
                EXPECT_EQ(hero ? s.magic : s.flamelmagic, (hero ? 2000 : 1000) - a->cost);
                EXPECT_EQ(b.cap(hero ? "lblmmagic" : "lblfmagic"),
                          (hero ? "Your Magic:" : "Flamel's Magic:") + std::to_string((hero ? 2000 : 1000) - a->cost));
            }

            const auto& e = row.effect;
            const std::string nilrem(e.prefix.empty() ? "Nilrem's life:" : e.prefix);
            const std::string flamel(e.prefix.empty() ? "Flamel's Life:" : e.prefix);
            const int nilremLost = e.kind == Effect::NilremLoses ? e.amount : 0;
            EXPECT_EQ(s.enemylife, 75000 - nilremLost);
            if (nilremLost) {
                EXPECT_EQ(b.cap("lblelife"), nilrem + std::to_string(75000 - nilremLost));
            }

            const bool heroDown = e.kind == Effect::HeroDies || e.kind == Effect::HeroLifeZero;
            const int heroLost = e.kind == Effect::HeroLoses ? e.amount : 0;
            EXPECT_EQ(s.life, heroDown ? 0 : 1000 - heroLost);
            EXPECT_EQ(b.cap("lblmlife"), "Your Life:" + std::to_string(heroDown ? 0 : 1000 - heroLost));

            const bool stunned = e.kind == Effect::HeroStunned || e.kind == Effect::HeroStunnedKeepsPotions;
            EXPECT_EQ(s.stun, stunned ? 300 : 0);
            EXPECT_EQ(b.f()["tmrstun"].running(), stunned);
            const char* firstAction = knight ? "knightba" : "wizardlnt";
            EXPECT_EQ(b.on(firstAction), !(heroDown || stunned));
            EXPECT_EQ(b.on(knight ? "knightss" : "wizardso"), !(heroDown || stunned));
            EXPECT_EQ(b.on("UL"), !(heroDown || e.kind == Effect::HeroStunned));

            const bool flamelDown = e.kind == Effect::FlamelDies;
            const int flamelLost = e.kind == Effect::FlamelLoses ? e.amount : 0;
            EXPECT_EQ(s.flamellife, flamelDown ? 0 : 500 - flamelLost);
            if (flamelDown || flamelLost) {
                EXPECT_EQ(b.cap("lblflife"), (flamelDown ? "Flamel's Life:" : flamel) + std::to_string(s.flamellife));
            }
            EXPECT_EQ(b.on("flamelhit"), !flamelDown);
            EXPECT_EQ(b.on("UFLP"), !flamelDown);
            EXPECT_EQ(b.f()["flamelf"].visible(), !flamelDown);
            EXPECT_TRUE(b.f().visible());
        }
    }
}

// Three of Flamel's answers write a label prefix of their own; the next
// ordinary write goes back to the usual one.
TEST(Battle, FlamelsAnswersWithTheirOwnPrefixes) {
    Battle b("Knight", 8);
    b.click("flamelf", 5);
    EXPECT_EQ(b.cap("lblelife"), "Nilrem's Life:74950");
    b.click("knightss", 8);
    EXPECT_EQ(b.cap("lblelife"), "Nilrem's life:74450");
    b.click("flamellnt", 1);
    EXPECT_EQ(b.cap("lblelife"), "Nilrem's Life:74400");
    b.click("flamellnt", 5);
    EXPECT_EQ(b.cap("lblflife"), "Flamel's life:250");
    b.click("flamellnt");
    EXPECT_EQ(b.cap("lblflife"), "Flamel's Life:200");
}

TEST(Battle, MagicPaymentsAndWaste) {
    // Short of the cost: no answer, only the waste message, the spells go.
    Battle w("Wizard", 3);
    w.g.state.magic = 150;
    w.click("wizardchange", 2);
    EXPECT_EQ(w.seen, messages({"You waste the rest of your magic trying to do a spell."}));
    EXPECT_EQ(w.caption[0], "Final Battle3");  // the hero pays before the new roll
    EXPECT_EQ(w.f().caption(), "Final Battle2");
    EXPECT_EQ(w.g.state.magic, 0);
    EXPECT_EQ(w.cap("lblmmagic"), "Your Magic:0");
    EXPECT_EQ(w.g.state.enemylife, 75000);
    EXPECT_FALSE(w.f()["wizardlnt"].visible());
    for (auto c : {"wizardchange", "wizardso", "wizardif"}) EXPECT_FALSE(w.f()[c].enabled()) << c;
    EXPECT_TRUE(w.on("UM"));

    // Exactly the cost: the answer comes and the spells stay.
    Battle exact("Wizard", 2);
    exact.g.state.magic = 20;
    exact.click("wizardif");
    EXPECT_EQ(exact.seen.size(), 2u);
    EXPECT_EQ(exact.g.state.magic, 0);
    EXPECT_TRUE(exact.on("wizardif"));
    EXPECT_TRUE(exact.on("wizardlnt"));

    // The lightning has its own message.
    Battle l("Wizard", 3);
    l.g.state.magic = 99;
    l.click("wizardlnt");
    EXPECT_EQ(l.seen, messages({"You try to do the spell, but realize you don't have enough magic to do it, and "
                                "waste your remaining magic."}));
    EXPECT_EQ(l.g.state.magic, 0);
    EXPECT_EQ(l.g.state.enemylife, 75000);

    // Flamel draws the roll first, then wastes; his staff stays.
    Battle fl("Knight", 4);
    fl.g.state.flamelmagic = 100;
    fl.click("flamelfb", 9);
    EXPECT_EQ(fl.seen, messages({"Flamel wastes the rest of his magic attempting a spell."}));
    EXPECT_EQ(fl.caption[0], "Final Battle9");
    EXPECT_EQ(fl.cap("lblfmagic"), "Flamel's Magic:0");
    EXPECT_FALSE(fl.f()["flamelf"].visible());
    EXPECT_FALSE(fl.on("flamelfb"));
    EXPECT_FALSE(fl.on("flamellnt"));
    fl.click("flamelhit");
    EXPECT_EQ(fl.g.state.enemylife, 70000);
    // A magic potion gives his spells back.
    fl.click("UFLM");
    EXPECT_EQ(fl.seen, messages({"Magic refilled"}));
    EXPECT_TRUE(fl.on("flamelf") && fl.on("flamelfb") && fl.on("flamellnt"));
    EXPECT_EQ(fl.g.state.flamelmagic, 1000);
}

TEST(Battle, FallsTakeOnlyTheActorsSide) {
    // A blow below 0 is a fall in the same step: 0 on the label, no message.
    Battle k("Knight", 2);
    k.g.state.life = 500;
    k.g.state.flamellife = -3;  // the hero's action leaves Flamel as he is
    k.click("knightss");
    EXPECT_EQ(k.g.state.life, 0);
    EXPECT_EQ(k.cap("lblmlife"), "Your Life:0");
    EXPECT_EQ(k.seen.size(), 2u);
    EXPECT_FALSE(k.f()["knightba"].visible());
    EXPECT_FALSE(k.on("UL"));
    EXPECT_EQ(k.g.state.flamellife, -3);
    EXPECT_TRUE(k.on("flamelhit"));

    // Flamel's action: his fall only; the hero is never hurt.
    Battle w("Wizard", 8);
    w.g.state.flamellife = 300;
    w.g.state.life = -7;
    w.click("flamelfb");
    EXPECT_EQ(w.g.state.flamellife, 0);
    EXPECT_EQ(w.cap("lblflife"), "Flamel's Life:0");
    EXPECT_FALSE(w.f()["flamelf"].visible());
    for (auto c : {"flamelhit", "flamelfb", "flamellnt", "UFLP", "UFLM", "UFLR"}) EXPECT_FALSE(w.f()[c].enabled()) << c;
    EXPECT_EQ(w.g.state.life, -7);
    EXPECT_TRUE(w.on("wizardlnt"));
    // A fallen hero gets no answer.
    w.click("wizardso", 5);
    EXPECT_TRUE(w.seen.empty());
    EXPECT_EQ(w.g.state.magic, 1960);
}

TEST(Battle, VictoryHandsOverToTheEnding) {
    Battle w("Wizard", 3);
    w.g.state.enemylife = 1000;
    w.click("wizardchange");
    EXPECT_EQ(w.g.state.enemylife, -200);
    EXPECT_EQ(w.cap("lblelife"), "Nilrem's life:0");
    ASSERT_EQ(w.seen.size(), 4u);
    EXPECT_EQ(w.seen[2], "message: You and Flamel have killed Nilrem, the Supreme Dark Wizard!");
    EXPECT_EQ(w.seen[3], "message: You and Flamel are magically transported to the Wizard's Council.");
    EXPECT_FALSE(w.f().visible());
    ASSERT_NE(w.g.findLoaded("Form6"), nullptr);
    EXPECT_TRUE(w.g.findLoaded("Form6")->visible());

    Battle k("Knight", 9);
    k.g.state.enemylife = 5000;
    k.click("flamelhit");
    EXPECT_EQ(k.seen.back(), "message: Flamel accompanies you to the Union of Knights, where you will tell them "
                             "of the death of Nilrem.");
    EXPECT_TRUE(k.g.findLoaded("Form6")->visible());
    EXPECT_EQ(k.g.click("Form4", "flamelhit"), Refusal::ScreenHidden);
}

TEST(Battle, StunDrainKillsAndAPotionEndsIt) {
    // A stunned hero drained to nothing dies with the message, once.
    Battle d("Knight", 6);
    d.g.state.life = 150;
    d.click("knightba");
    d.seen.clear();
    d.wait(149000);
    EXPECT_EQ(d.seen, messages({"Nilrem reveals himself."}));
    EXPECT_EQ(d.g.state.life, 1);
    d.seen.clear();
    d.wait(1000);
    EXPECT_EQ(d.seen, messages({"You have died."}));
    EXPECT_EQ(d.g.state.life, 0);
    EXPECT_FALSE(d.f()["tmrstun"].running());
    EXPECT_TRUE(d.on("cmdlose"));

    // A wizard stunned by his lightning drinks magic: actions back, no more drain.
    Battle w("Wizard", 6);
    w.click("wizardlnt");
    w.wait(10000);
    EXPECT_EQ(w.g.state.life, 990);
    w.click("UM");
    EXPECT_TRUE(w.on("wizardlnt"));
    w.wait(10000);
    EXPECT_EQ(w.g.state.life, 990);
    EXPECT_EQ(w.g.state.stun, 280);
    w.wait(281000);
    EXPECT_EQ(w.seen, messages({"Magic refilled", "Nilrem reveals himself.",
                                "The Stun spell wears off and your magic power is refilled."}));
    EXPECT_EQ(w.g.state.magic, 2000);
}

TEST(Battle, ReviveWatcherAndRevivingPotion) {
    Battle w("Wizard", 9);
    // While both stand, the 1 ms watcher waits: the next tick due is the clock's.
    EXPECT_EQ(w.g.nextDue(), std::optional<std::int64_t>(1000));
    w.click("wizardso", 7);    // the Shadow Spell: the hero dies
    w.click("flamelhit", 2);   // the Death Spell: Flamel dies
    EXPECT_FALSE(w.f()["cmdrevive"].enabled());
    w.wait(1);  // within a millisecond
    EXPECT_TRUE(w.on("cmdrevive"));
    w.click("cmdrevive");
    EXPECT_EQ(w.seen, messages({"Revived!", "Revived!"}));
    EXPECT_EQ(w.cap("lblmlife"), "Your Life:1");
    EXPECT_EQ(w.cap("lblflife"), "Flamel's Life:1");
    EXPECT_EQ(w.g.state.revives, 99);
    EXPECT_FALSE(w.f()["cmdrevive"].enabled());
    for (auto c : {"wizardlnt", "wizardso", "UM", "UL", "UR", "flamelf", "flamelhit", "UFLR"})
        EXPECT_TRUE(w.on(c)) << c;
    EXPECT_EQ(w.g.state.magic, 1960);  // no magic comes back with life

    // Out of revives: every click says so, and the watcher enables it again.
    w.g.state.revives = 0;
    w.g.state.life = 0;
    w.wait(1);
    w.click("cmdrevive");
    EXPECT_EQ(w.seen, messages({"You are out of Reviving potions!"}));
    EXPECT_EQ(w.g.state.life, 0);
    EXPECT_FALSE(w.f()["cmdrevive"].enabled());
    w.wait(1);
    EXPECT_TRUE(w.on("cmdrevive"));

    // Clicked with nobody down: one revive is spent all the same.
    w.g.state.revives = 3;
    w.g.state.life = 50;
    w.click("cmdrevive");
    EXPECT_TRUE(w.seen.empty());
    EXPECT_EQ(w.g.state.revives, 2);
    EXPECT_FALSE(w.f()["cmdrevive"].enabled());
}

TEST(Battle, PotionsShareTheStocks) {
    Battle k("Knight", 0);
    k.g.state.lifepotions = 1;
    k.g.state.life = 300;
    k.g.state.flamellife = 20;
    k.click("UL");
    EXPECT_EQ(k.seen, messages({"Life refilled."}));
    EXPECT_EQ(k.cap("lblmlife"), "Your Life:1000");
    EXPECT_FALSE(k.on("UL"));  // the last one: disabled at once
    EXPECT_TRUE(k.on("UFLP"));
    k.click("UFLP");           // nothing left for Flamel
    EXPECT_TRUE(k.seen.empty());
    EXPECT_EQ(k.g.state.flamellife, 20);
    EXPECT_FALSE(k.on("UFLP"));
    EXPECT_EQ(k.f().caption(), "Final Battle0");  // potions draw no roll

    Battle w("Wizard", 0);
    w.g.state.life = 10;
    w.g.state.magic = 5;
    w.click("UR");
    EXPECT_EQ(w.seen, messages({"Life and Magic refilled."}));
    EXPECT_EQ(w.cap("lblmlife"), "Your Life:1000");
    EXPECT_EQ(w.cap("lblmmagic"), "Your Magic:2000");
    EXPECT_EQ(w.g.state.refillpotions, 1);
    EXPECT_TRUE(w.on("UR"));
    w.g.state.flamellife = 3;
    w.click("UFLR");
    EXPECT_EQ(w.seen, messages({"Flamel's Life and Magic refilled."}));
    EXPECT_EQ(w.cap("lblflife"), "Flamel's Life:500");
    EXPECT_FALSE(w.on("UFLR"));
    EXPECT_TRUE(w.on("UR"));
}

TEST(Battle, FuryWinsAtOnceEvenInHardMode) {
    Battle w("Wizard", 0, "Valoro");
    w.f()["cmdfury"].show();
    w.click("cmdfury");
    EXPECT_EQ(w.seen,
              messages({"Congratulations! You have found the secret attack!",
                        "You and Flamel channel your magic into a Sphere of Magic.",
                        "Before Nilrem can do anything, the Sphere hits Nilrem, and he falls down and disappears in a "
                        "mist, as is common with the death of a Supreme Dark Wizard.",
                        "You and Flamel have defeated Nilrem, the Supreme Dark Wizard!",
                        "Both of you are magically transported to the Wizard's Council."}));
    EXPECT_EQ(w.g.state.enemylife, 0);
    EXPECT_EQ(w.cap("lblelife"), "Nilrem's life:0");
    EXPECT_TRUE(w.g.findLoaded("Form6")->visible());
    EXPECT_FALSE(w.f().visible());
}

}  // namespace
}  // namespace vendral
