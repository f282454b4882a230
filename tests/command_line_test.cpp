#include <gtest/gtest.h>

#include "app/command_line.h"

namespace rc {
namespace {

ParsedCommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(CommandLine, NoArgumentsIsAPlainCapture) {
  const ParsedCommandLine p = Parse({});
  ASSERT_TRUE(p.Ok());
  EXPECT_EQ(p.options.delaySeconds, 0);
  EXPECT_FALSE(p.options.region);
  EXPECT_FALSE(p.options.noWindowSnap || p.options.printGeometry || p.options.help || p.options.version);
}

TEST(CommandLine, EveryOptionInBothSpellings) {
  const ParsedCommandLine a = Parse({"--delay", "1.5", "--output", "/tmp/截图 目录/", "--format", "JPEG",
                                     "--region", "-10,20,300,40", "--print-geometry", "--no-window-snap"});
  ASSERT_TRUE(a.Ok()) << a.error;
  EXPECT_DOUBLE_EQ(a.options.delaySeconds, 1.5);
  EXPECT_EQ(a.options.outputPath, "/tmp/截图 目录/");
  EXPECT_EQ(a.options.format, "jpg");
  EXPECT_EQ(*a.options.region, (Box{-10, 20, 300, 40}));
  EXPECT_TRUE(a.options.printGeometry && a.options.noWindowSnap);
  const ParsedCommandLine b =
      Parse({"--delay=2", "--output=C:\\Users\\用户\\shot.gif", "--format=bmp", "--region=0,0,1,1"});
  ASSERT_TRUE(b.Ok()) << b.error;
  EXPECT_DOUBLE_EQ(b.options.delaySeconds, 2);
  EXPECT_EQ(b.options.outputPath, "C:\\Users\\用户\\shot.gif");
  EXPECT_EQ(b.options.format, "bmp");
  EXPECT_EQ(*b.options.region, (Box{0, 0, 1, 1}));
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_TRUE(Parse({"--daemon"}).options.daemon);
  EXPECT_TRUE(Parse({"--quit"}).options.quit);
  EXPECT_EQ(Parse({"--output", "--help"}).options.outputPath, "--help");  // a value may look like an option
}

TEST(CommandLine, BadUsageNamesTheBadArgument) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--delay", "-1"}, "'-1'"},
      {{"--delay", "soon"}, "'soon'"},
      {{"--delay=nan"}, "'nan'"},
      {{"--delay", "1e9"}, "'1e9'"},
      {{"--delay"}, "--delay needs a value"},
      {{"--format", "tiff"}, "'tiff'"},
      {{"--region", "1,2,3"}, "'1,2,3'"},
      {{"--region", "1,2,0,4"}, "'1,2,0,4'"},
      {{"--region", "1,2,3,4,5"}, "'1,2,3,4,5'"},
      {{"--region", "1, 2,3,4"}, "'1, 2,3,4'"},
      {{"--region", "2147483647,0,1,1"}, "'2147483647,0,1,1'"},
      {{"--region", "a,b,c,d"}, "'a,b,c,d'"},
      {{"--output="}, "--output"},
      {{"--frobnicate"}, "'--frobnicate'"},
      {{"--frobnicate=1"}, "'--frobnicate'"},
      {{"-x"}, "'-x'"},
      {{"picture.png"}, "'picture.png'"},
      {{"--version=2"}, "--version takes no value"},
      {{"--daemon", "--quit"}, "--daemon and --quit"},
  };
  for (const auto& [args, named] : cases) {
    const ParsedCommandLine p = Parse(args);
    EXPECT_FALSE(p.Ok()) << args[0];
    EXPECT_NE(p.error.find(named), std::string::npos) << p.error;
  }
}

TEST(CommandLine, HelpListsEveryOptionAndTheExitCodes) {
  const std::string help = HelpText();
  for (const char* word : {"--delay", "--output", "--format", "--region", "--print-geometry", "--no-window-snap",
                           "--version", "--help", "--daemon", "--quit", "  0 ", "  1 ", "  2 "}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
  EXPECT_EQ(VersionText().rfind("regioncap ", 0), 0u);
}

}  // namespace
}  // namespace rc
