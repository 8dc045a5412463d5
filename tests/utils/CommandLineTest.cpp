#include "untCommandLine.h"

#include <gtest/gtest.h>

namespace {

TStartAction ActionOf(const std::vector<std::string>& parameters) { return ReadStartOptions(parameters).Action; }

} // namespace

TEST(StartOptions, FileNamesAloneStartTheProgram)
{
    EXPECT_EQ(ActionOf({}), TStartAction::Run);
    EXPECT_EQ(ActionOf({"a.stg", "/home/rower/b.stg"}), TStartAction::Run);
    EXPECT_EQ(ActionOf({"-"}), TStartAction::Run) << "a lone dash is a name";
}

TEST(StartOptions, HelpGoesBeforeVersionWhereverTheyStand)
{
    EXPECT_EQ(ActionOf({"--help"}), TStartAction::ShowHelp);
    EXPECT_EQ(ActionOf({"a.stg", "-h"}), TStartAction::ShowHelp);
    EXPECT_EQ(ActionOf({"a.stg", "--version"}), TStartAction::ShowVersion);
    EXPECT_EQ(ActionOf({"--version", "--help"}), TStartAction::ShowHelp);
    EXPECT_EQ(ActionOf({"--HELP"}), TStartAction::UsageError) << "only the readme switch ignores case";
}

TEST(StartOptions, TwoDashesEndTheOptions)
{
    EXPECT_EQ(ActionOf({"--", "--help", "--version", "--verbose"}), TStartAction::Run);
    EXPECT_EQ(ActionOf({"--version", "--", "--verbose"}), TStartAction::ShowVersion);
    EXPECT_EQ(ActionOf({"--", "--"}), TStartAction::Run);
}

TEST(StartOptions, TheReadmeSwitchIsKnownInAnyCase)
{
    for (const char* written : {"-XD", "-xd", "-xD"}) {
        EXPECT_EQ(ActionOf({written}), TStartAction::Run) << written;
        EXPECT_EQ(ActionOf({"a.stg", written, "--version"}), TStartAction::ShowVersion) << written;
    }
    EXPECT_EQ(ActionOf({"/XD"}), TStartAction::Run) << "not an option's form; the switch is found later";
    EXPECT_EQ(ActionOf({"-XDX"}), TStartAction::UsageError);
}

TEST(StartOptions, AnUnknownOptionIsAnErrorWhereverItStands)
{
    const TStartOptions unknown = ReadStartOptions({"--help", "a.stg", "--verbose"});
    EXPECT_EQ(unknown.Action, TStartAction::UsageError);
    EXPECT_EQ(unknown.Problem, "unknown option --verbose");
    EXPECT_EQ(ReadStartOptions({"--version=1"}).Problem, "unknown option --version=1");
    // Qt takes its own options out of the command line before it is read
    // again; read before that, they are not ours.
    EXPECT_EQ(ActionOf({"-platform", "offscreen", "--version"}), TStartAction::UsageError);
}
