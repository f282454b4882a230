// The text a Linux clipboard owner serves as STRING (Latin-1).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/linux/clipboard_text.h"

namespace rc {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(ClipboardTextTest, Latin1KeepsAsciiAndLatin1AndMarksTheRest) {
  EXPECT_EQ(Latin1FromUtf8("#8F7F86"), Bytes("#8F7F86"));
  EXPECT_EQ(Latin1FromUtf8("caf\xC3\xA9 \xC2\xA0"), Bytes("caf\xE9 \xA0"));
  // One "?" for each character beyond Latin-1, however long its sequence.
  EXPECT_EQ(Latin1FromUtf8("\xE4\xBD\xA0\xE5\xA5\xBD."), Bytes("??."));
  EXPECT_EQ(Latin1FromUtf8("\xF0\x9F\x98\x80"), Bytes("?"));
}

TEST(ClipboardTextTest, Latin1NeverSwallowsTheCharacterAfterABrokenSequence) {
  EXPECT_EQ(Latin1FromUtf8("a\xC3"), Bytes("a?"));
  EXPECT_EQ(Latin1FromUtf8("\xC3" "A"), Bytes("?A"));
  EXPECT_TRUE(Latin1FromUtf8("").empty());
}

}  // namespace
}  // namespace rc
