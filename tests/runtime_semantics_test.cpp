#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <string>

#include "core/arithmetic.hpp"
#include "core/conversions.hpp"
#include "core/resume_next.hpp"
#include "core/runtime_error.hpp"

namespace corvella {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

RuntimeErrorKind KindOf(void (*statement)()) {
  try {
    statement();
  } catch (const RuntimeError& error) {
    return error.kind();
  }
  ADD_FAILURE() << "no runtime error raised";
  return RuntimeErrorKind::ServiceFailure;
}

TEST(CheckedArithmetic, StaysExactInsideTheRangeAndRaisesOverflowAtItsEdges) {
  EXPECT_EQ(CheckedAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(CheckedSub(kMin + 1, 1), kMin);
  EXPECT_EQ(CheckedMul(32767, 65536), 2147418112);
  EXPECT_EQ(CheckedMul(-32768, 65536), kMin);
  EXPECT_EQ(KindOf([] { CheckedAdd(kMax, 1); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(KindOf([] { CheckedSub(kMin, 1); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(KindOf([] { CheckedMul(32768, 65536); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(KindOf([] { CheckedMul(kMin, -1); }), RuntimeErrorKind::Overflow);
}

TEST(IntegerDivision, TruncatesTowardZeroAndTheRemainderFollowsTheDividend) {
  EXPECT_EQ(IntDiv(7, 2), 3);
  EXPECT_EQ(IntDiv(-7, 2), -3);
  EXPECT_EQ(IntDiv(7, -2), -3);
  EXPECT_EQ(IntMod(7, -2), 1);
  EXPECT_EQ(IntMod(-7, 2), -1);
  EXPECT_EQ(IntMod(15, -8), 7);
  EXPECT_EQ(IntMod(kMin, -1), 0);
  EXPECT_EQ(KindOf([] { IntDiv(1, 0); }), RuntimeErrorKind::DivisionByZero);
  EXPECT_EQ(KindOf([] { IntMod(0, 0); }), RuntimeErrorKind::DivisionByZero);
  EXPECT_EQ(KindOf([] { IntDiv(kMin, -1); }), RuntimeErrorKind::Overflow);
}

TEST(FloatToInteger, RoundsHalvesToEvenAndChecksTheRange) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(3.5), 4);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(-3.5), -4);
  EXPECT_EQ(RoundToInt32(2.4999), 2);
  EXPECT_EQ(RoundToInt32(2147483647.4), kMax);
  EXPECT_EQ(RoundToInt32(-2147483648.5), kMin);
  EXPECT_EQ(KindOf([] { RoundToInt32(2147483647.5); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(KindOf([] { RoundToInt32(std::numeric_limits<double>::quiet_NaN()); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_EQ(KindOf([] { RoundToInt16(32767.5); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(KindOf([] { ToInt16(32768); }), RuntimeErrorKind::Overflow);
  EXPECT_EQ(ToInt16(-32768), -32768);
}

TEST(FloatingPointFaults, NonFiniteResultsAreFaults) {
  EXPECT_EQ(CheckedFloat(1.5), 1.5);
  EXPECT_EQ(KindOf([] { CheckedFloat(std::numeric_limits<double>::infinity()); }),
            RuntimeErrorKind::FloatingPointFault);
  EXPECT_EQ(KindOf([] { CheckedFloat(std::numeric_limits<double>::quiet_NaN()); }),
            RuntimeErrorKind::FloatingPointFault);
}

TEST(TextToInt16, ReadsNumbersWithBlanksFractionsAndSigns) {
  EXPECT_EQ(TextToInt16("8"), 8);
  EXPECT_EQ(TextToInt16(" 7 "), 7);
  EXPECT_EQ(TextToInt16("\t12"), 12);
  EXPECT_EQ(TextToInt16("-3"), -3);
  EXPECT_EQ(TextToInt16("+3"), 3);
  EXPECT_EQ(TextToInt16("2.5"), 2);
  EXPECT_EQ(TextToInt16("3.5"), 4);
  EXPECT_EQ(TextToInt16("-2.5"), -2);
  EXPECT_EQ(TextToInt16(".6"), 1);
  EXPECT_EQ(TextToInt16("1e2"), 100);
  EXPECT_EQ(TextToInt16("32767"), 32767);
  EXPECT_EQ(TextToInt16("-32768"), -32768);
  // Too small for a double is no overflow: it rounds to 0 like any tiny number.
  for (const char* tiny : {"1e-310", "1e-330", "0.4e-400", "-1e-400", "\xEF\xBC\x91\xEF\xBD\x85-999"}) {
    EXPECT_EQ(TextToInt16(tiny), 0) << tiny;
  }
}

TEST(TextToInt16, TakesFullWidthDigitsSignsAndSpacesAsTheirAsciiForms) {
  EXPECT_EQ(TextToInt16("\xEF\xBC\x91\xEF\xBC\x92"), 12);               // "１２"
  EXPECT_EQ(TextToInt16("\xEF\xBC\x8D\xEF\xBC\x98"), -8);               // "－８"
  EXPECT_EQ(TextToInt16("\xE3\x80\x80\xEF\xBC\x95\xE3\x80\x80"), 5);    // "　５　"
  EXPECT_EQ(TextToInt16("\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95"), 2);    // "２．５"
  EXPECT_EQ(TextToInt16("\xEF\xBC\x91\xEF\xBD\x85\xEF\xBC\x92"), 100);  // "１ｅ２": letters too
}

TEST(TextToInt16, RejectsTextsThatAreNoNumberOrOutOfRange) {
  for (const char* text :
       {"", " ", "abc", "-", ".", "1 2", "12a", "0x10", "inf", "nan", "1e", "--1", "\xFF", "\xE3\x81\x82"}) {
    try {
      TextToInt16(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.kind(), RuntimeErrorKind::TypeMismatch) << text;
    }
  }
  for (const char* text : {"32768", "-32769", "32767.5", "1e400"}) {
    try {
      TextToInt16(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.kind(), RuntimeErrorKind::Overflow) << text;
    }
  }
}

TEST(TextToInt16, TakesNoDigitOrSignWrittenAsAnOverlongForm) {
  for (const char* text : {"\xC0\xB1", "\xE0\x80\xB7", "\xC0\xAD\x31", "\xF0\x8F\xBC\x91"}) {
    try {
      TextToInt16(text);
      ADD_FAILURE() << "accepted " << ::testing::PrintToString(std::string(text));
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.kind(), RuntimeErrorKind::TypeMismatch) << ::testing::PrintToString(std::string(text));
    }
  }
}

TEST(Int16ToText, WritesDigitsWithAMinusOnlyWhenNegative) {
  EXPECT_EQ(Int16ToText(0), "0");
  EXPECT_EQ(Int16ToText(30), "30");
  EXPECT_EQ(Int16ToText(-32768), "-32768");
  EXPECT_EQ(Int16ToText(32767), "32767");
}

TEST(ResumeNext, SkipsOnlyTheFailingStatementAndKeepsTheTargetUnchanged) {
  std::int32_t x = 5;
  std::int32_t y = 1;
  EXPECT_FALSE(ResumeNext([&] { x = IntDiv(10, 0); }));
  EXPECT_TRUE(ResumeNext([&] { y = CheckedAdd(y, 1); }));
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 2);
}

TEST(ResumeNext, TakesRunningOutOfMemoryAsAFailedStepAndLetsOtherExceptionsThrough) {
  EXPECT_FALSE(ResumeNext([] { throw std::bad_alloc(); }));
  EXPECT_THROW(ResumeNext([] { throw std::logic_error("a program fault, not a runtime error"); }), std::logic_error);
}

}  // namespace
}  // namespace corvella
