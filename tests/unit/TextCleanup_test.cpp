#include "core/TextCleanup.h"

#include <gtest/gtest.h>

using namespace TextCleanup;

namespace {
QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}
} // namespace

TEST(TextCleanup, WorkedExamplesFromVerticalText) {
    // Three one-kanji lines, then Latin: joined into one line.
    const QString tokyo = s(u"\u6771\n\u4eac\n\u90fd\nTokyo");
    EXPECT_EQ(clean(tokyo), s(u"\u6771\u4eac\u90fd\nTokyo"));
    EXPECT_TRUE(looksVertical(tokyo));

    // Two are not enough.
    const QString two = s(u"\u6771\n\u4eac\nTokyo");
    EXPECT_EQ(clean(two), two);
    EXPECT_FALSE(looksVertical(two));

    // Five kana, an empty line, two kana.
    EXPECT_EQ(clean(s(u"\u3042\n\u3044\n\u3046\n\u3048\n\u304a\n\n\u304b\n\u304d")),
              s(u"\u3042\u3044\u3046\u3048\u304a\n\n\u304b\n\u304d"));

    // Ideographic full stops break every run.
    const QString stops = s(u"\u6771\n\u3002\n\u4eac\n\u3002\n\u90fd\n\u3002");
    EXPECT_EQ(clean(stops), stops);
    EXPECT_FALSE(looksVertical(stops));

    // Hangul syllables are never fragments.
    const QString hangul = s(u"\ud55c\n\uad6d\n\uc5b4\n\ub9d0");
    EXPECT_EQ(clean(hangul), hangul);
    EXPECT_FALSE(looksVertical(hangul));
}

TEST(TextCleanup, WhitespaceIsTrimmedPerLineAndBlankRunsCollapse) {
    EXPECT_EQ(clean("  first   \n\n\n\nsecond\t\t"), "first\n\nsecond");
    // Whitespace inside a line stays as it is.
    EXPECT_EQ(clean("a  b\t c"), "a  b\t c");
    EXPECT_EQ(clean(""), "");
    EXPECT_EQ(clean(s(u" \n\t\r\n\u3000\u2028 ")), "");
    // CR LF is two separators: one empty line survives between the parts.
    EXPECT_EQ(clean("one\r\ntwo"), "one\n\ntwo");
    EXPECT_EQ(splitLines("a\r\nb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitLines(""), QStringList({""}));
    EXPECT_EQ(splitLines("a\n"), QStringList({"a", ""}));
    // Every separator of the class ends a line.
    EXPECT_EQ(splitLines(s(u"a\u000bb\u000cc\u0085d\u2028e\u2029f")),
              QStringList({"a", "b", "c", "d", "e", "f"}));
}

TEST(TextCleanup, IdeographicAndNoBreakSpacesAreLineWhitespace) {
    EXPECT_EQ(clean(s(u"\u3000\u6771\u3000\n \u4eac\u00a0\n\t\u90fd ")), s(u"\u6771\u4eac\u90fd"));
    EXPECT_EQ(trimLineWhitespace(s(u"\u2003x\u202f")), "x");
    // Zero-width space is not whitespace in either class.
    EXPECT_EQ(clean(s(u"\u200bx\u200b")), s(u"\u200bx\u200b"));
}

TEST(TextCleanup, FragmentsAreSingleGraphemesStartingInTheCjkRanges) {
    EXPECT_TRUE(isVerticalFragment(s(u"\u304b")));       // hiragana
    EXPECT_TRUE(isVerticalFragment(s(u"\u304b\u3099"))); // kana + combining voicing mark
    EXPECT_TRUE(isVerticalFragment(s(u"\u304c")));       // precomposed
    EXPECT_TRUE(isVerticalFragment(s(u"\u3400")));       // extension A
    EXPECT_TRUE(isVerticalFragment(s(u"\u4dc0")));       // Yijing hexagram, inside the range
    EXPECT_TRUE(isVerticalFragment(s(u"\uf900")));       // compatibility ideograph
    EXPECT_TRUE(isVerticalFragment(s(u"\uff66")));       // half-width katakana, first
    EXPECT_TRUE(isVerticalFragment(s(u"\uff9d")));       // and last
    EXPECT_FALSE(isVerticalFragment(s(u"\uff9e")));      // half-width voicing mark
    EXPECT_FALSE(isVerticalFragment(s(u"\uff21")));      // full-width A
    EXPECT_FALSE(isVerticalFragment(s(u"\u3001")));
    EXPECT_FALSE(isVerticalFragment(s(u"\U00020000"))); // U+20000, beyond U+FFFF
    EXPECT_FALSE(isVerticalFragment("A"));
    EXPECT_FALSE(isVerticalFragment("7"));
    EXPECT_FALSE(isVerticalFragment(""));
    EXPECT_FALSE(isVerticalFragment(s(u"\u6771\u4eac")));

    // Kana with combining marks join as whole clusters.
    EXPECT_EQ(clean(s(u"\u304b\u3099\n\u3055\u3099\n\u305f\u3099")),
              s(u"\u304b\u3099\u3055\u3099\u305f\u3099"));
}

TEST(TextCleanup, RunsAreJudgedOnTheirOwnLength) {
    // Exactly three at the very end: the final flush joins them.
    EXPECT_EQ(clean(s(u"Title\n\u6771\n\u4eac\n\u90fd")), s(u"Title\n\u6771\u4eac\u90fd"));
    // An empty line between a run of two and a run of three keeps them apart.
    EXPECT_EQ(clean(s(u"\u6771\n\u4eac\n\n\u90fd\n\u5e9c\n\u770c")),
              s(u"\u6771\n\u4eac\n\n\u90fd\u5e9c\u770c"));
    // looksVertical sees every blank line, even those clean() would collapse.
    EXPECT_FALSE(looksVertical(s(u"\u6771\n\n\u4eac\n\n\u90fd")));
    EXPECT_TRUE(looksVertical(s(u"x\n \u6771 \n\u3000\u4eac\n\u90fd\ny")));
    EXPECT_EQ(mergeVerticalFragments({"a", s(u"\u6771"), s(u"\u4eac")}),
              QStringList({"a", s(u"\u6771"), s(u"\u4eac")}));
}
