#include "platform/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace grx {
namespace {

struct FormatCase {
  double value;
  const char16_t* picture;
  const char* expected;
};

class FormatFloatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFloatTest, GivesTheProgramsText) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(formatFloat(c.value, c.picture), QString::fromUtf8(c.expected))
      << "value " << c.value << " picture " << QString::fromUtf16(c.picture).toStdString();
  QByteArray file("x;");  // the 8-bit form appends the same text
  appendFloat(file, c.value, c.picture);
  EXPECT_EQ(file, QByteArray("x;") + c.expected) << "value " << c.value;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Pictures, FormatFloatTest,
    ::testing::Values(
        // single-precision record values as the tables show them
        FormatCase{double(-25.34f), u"0.0", "-25,3"}, FormatCase{double(30.08f), u"0.0", "30,1"},
        FormatCase{-0.5, u"0.000", "-0,500"}, FormatCase{0.25, u"0.000", "0,250"},
        FormatCase{1.5, u"0.0000", "1,5000"}, FormatCase{7070.4, u"0", "7070"},
        FormatCase{1e7, u"0", "10000000"},
        // halves go away from zero; values just below a half do not
        FormatCase{0.125, u"0.00", "0,13"}, FormatCase{-0.125, u"0.00", "-0,13"}, FormatCase{2.5, u"0", "3"},
        FormatCase{-2.5, u"0", "-3"}, FormatCase{0.15, u"0.0", "0,1"}, FormatCase{0.05, u"0.0", "0,1"},
        FormatCase{9.96, u"0.0", "10,0"}, FormatCase{59.96, u"00.0", "60,0"},
        // "#" leaves out a zero; "00" pads
        FormatCase{0.0, u"#", ""}, FormatCase{0.4, u"#", ""}, FormatCase{7.0, u"#", "7"},
        FormatCase{5.0, u"00", "05"}, FormatCase{123.0, u"00", "123"}, FormatCase{0.0, u"0", "0"},
        // no minus sign on a value that rounds to zero
        FormatCase{-0.04, u"0.0", "0,0"}, FormatCase{-0.0, u"0.000", "0,000"},
        FormatCase{kNaN, u"0.0", "NAN"}, FormatCase{kInf, u"0.000", "NAN"}, FormatCase{-kInf, u"0", "NAN"}));

TEST(FormatFloat, OtherSeparator) { EXPECT_EQ(formatFloat(-0.5, u"0.000", u'.'), QStringLiteral("-0.500")); }

struct ParseCase {
  const char* text;
  bool ok;
  double value;
};

TEST(ParseDecimal, AcceptsCommaAndPointRejectsTheRest) {
  for (const ParseCase& c : {ParseCase{"-0,500", true, -0.5}, ParseCase{"-0.5", true, -0.5}, ParseCase{" 5 ", true, 5},
                             ParseCase{"+2,25", true, 2.25}, ParseCase{"1e3", true, 1000}, ParseCase{"0", true, 0},
                             ParseCase{"", false, 0}, ParseCase{"abc", false, 0}, ParseCase{"1,2,3", false, 0},
                             ParseCase{"5 kN", false, 0}, ParseCase{"-", false, 0}}) {
    bool ok = !c.ok;
    const double v = parseDecimal(QString::fromUtf8(c.text), &ok);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
}

TEST(ParseInteger, WholeNumbersOnly) {
  for (const ParseCase& c : {ParseCase{"500", true, 500}, ParseCase{" -25 ", true, -25}, ParseCase{"+7", true, 7},
                             ParseCase{"12.5", false, 0}, ParseCase{"", false, 0}, ParseCase{"99999999999", false, 0},
                             ParseCase{"1x", false, 0}}) {
    bool ok = !c.ok;
    const int v = parseInteger(QString::fromUtf8(c.text), &ok);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, int(c.value)) << c.text;
    }
  }
}

}  // namespace
}  // namespace grx
