#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/dates.h"
#include "cgt/rules/index_numbers.h"

namespace {

using cgt::Extended;

cgt::DateTime Date(const char* text) {
    const std::optional<cgt::DateTime> date = cgt::ParseDate(text, 2004);
    EXPECT_TRUE(date.has_value()) << text;
    return date.value_or(0);
}

struct IndexCase {
    const char* date;
    Extended expected; // table entries are doubles; only the pre-1985 number is 71.3L
};

class IndexNumberTest : public ::testing::TestWithParam<IndexCase> {};

TEST_P(IndexNumberTest, QuarterOfDate) {
    const IndexCase& c = GetParam();
    EXPECT_EQ(cgt::GetIndexNumber(Date(c.date)), c.expected) << c.date;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, IndexNumberTest,
    ::testing::Values(
        // Before the table: the extended 71.3, not the double of the 1985 table row.
        IndexCase{"01/01/1900", 71.3L}, IndexCase{"31/12/1984", 71.3L},
        // 1985: no number for the first half of the year.
        IndexCase{"01/01/1985", 0.0}, IndexCase{"15/03/1985", 0.0}, IndexCase{"30/06/1985", 0.0},
        IndexCase{"01/07/1985", Extended{71.3}}, IndexCase{"30/09/1985", Extended{71.3}},
        IndexCase{"01/10/1985", Extended{72.7}}, IndexCase{"31/12/1985", Extended{72.7}},
        // Quarter boundaries within a year.
        IndexCase{"31/03/1990", Extended{100.9}}, IndexCase{"01/04/1990", Extended{102.5}},
        IndexCase{"30/06/1990", Extended{102.5}}, IndexCase{"01/07/1990", Extended{103.3}},
        IndexCase{"30/09/1990", Extended{103.3}}, IndexCase{"01/10/1990", Extended{106.0}},
        IndexCase{"31/12/1990", Extended{106.0}}, IndexCase{"01/01/1991", Extended{105.8}},
        // One quarter from each remaining year, every column in turn.
        IndexCase{"10/02/1986", Extended{74.4}}, IndexCase{"10/05/1987", Extended{82.6}},
        IndexCase{"10/08/1988", Extended{90.2}}, IndexCase{"10/11/1989", Extended{99.2}},
        IndexCase{"10/12/1991", Extended{107.6}}, IndexCase{"10/05/1992", Extended{107.3}},
        IndexCase{"10/08/1993", Extended{109.8}}, IndexCase{"10/11/1994", Extended{112.8}},
        IndexCase{"10/02/1995", Extended{114.7}}, IndexCase{"10/05/1996", Extended{119.8}},
        IndexCase{"10/08/1997", Extended{119.7}}, IndexCase{"10/11/1998", Extended{121.9}},
        // Indexation stops at the September quarter 1999.
        IndexCase{"31/03/1999", Extended{121.8}}, IndexCase{"30/06/1999", Extended{122.3}},
        IndexCase{"01/07/1999", Extended{123.4}}, IndexCase{"21/09/1999", Extended{123.4}},
        IndexCase{"30/09/1999", Extended{123.4}}, IndexCase{"31/12/2001", Extended{123.4}},
        IndexCase{"01/01/2002", Extended{123.4}}, IndexCase{"30/06/2004", Extended{123.4}},
        IndexCase{"01/01/2050", Extended{123.4}}));

TEST(IndexNumber, IgnoresTimeOfDay) {
    EXPECT_EQ(cgt::GetIndexNumber(Date("31/03/1990") + 0.999), Extended{100.9});
    EXPECT_EQ(cgt::GetIndexNumber(Date("30/06/1999") + 0.5), Extended{122.3});
}

TEST(IndexNumber, TableRowsRunFromTheIncomeYearDown) {
    for (int column = 0; column < 4; ++column) {
        for (int year = 2000; year <= 2004; ++year)
            EXPECT_EQ(cgt::IndexTable[2004 - year][column], 123.4) << year;
    }
    EXPECT_EQ(cgt::IndexTable[2004 - 1985][2], 71.3);
    EXPECT_EQ(cgt::IndexTable[2004 - 1999][1], 122.3);
}

struct FactorCase {
    Extended eventIndex;
    Extended costIndex;
    double expected;
    const char* why;
};

class FactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(FactorTest, RoundedFactor) {
    const FactorCase& c = GetParam();
    EXPECT_EQ(cgt::IndexationFactor(c.eventIndex, c.costIndex), c.expected) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Factors, FactorTest,
    ::testing::Values(
        FactorCase{123.4, 120.0, 1.028, "1.02833.. rounds down"},
        FactorCase{123.4, 71.3L, 1.731, "from before 1985: 1.73071.. rounds up"},
        FactorCase{123.4, 72.7, 1.697, "1.69738.."}, FactorCase{123.4, 123.4, 1.0, "same quarter"},
        FactorCase{119.7, 120.5, 1.0, "a fall in the index gives 1"},
        FactorCase{123.4, 0.0, 1.0, "no index number for the cost quarter"},
        FactorCase{0.0, 0.0, 1.0, "neither quarter has a number"},
        // 1.0025 is stored as 1.00249999999999994..; 18 digits read 1.00249999999999995.
        FactorCase{120.3, 120.0, 1.002, "just below the half in 18 digits"},
        // Quotients that are exactly the stored double (cost 1): the half is decided on the
        // 18-digit expansion, away from zero.
        FactorCase{1.0585, 1.0L, 1.059, "1.05849999999999999645.. reads 1.0585 in 18 digits"},
        FactorCase{1.0605, 1.0L, 1.061, "half away from zero, not to the even 1.060"},
        FactorCase{1.0625, 1.0L, 1.063, "exact binary half goes away from zero"},
        FactorCase{1.0135, 1.0L, 1.014, "1.01350000000000006.."}));

TEST(IndexationFactor, FactorFromDates) {
    const Extended event = cgt::GetIndexNumber(Date("15/08/2003"));
    EXPECT_EQ(cgt::IndexationFactor(event, cgt::GetIndexNumber(Date("20/11/1997"))), 1.028);
    EXPECT_EQ(cgt::IndexationFactor(event, cgt::GetIndexNumber(Date("20/02/1985"))), 1.0);
    EXPECT_EQ(cgt::IndexationFactor(event, cgt::GetIndexNumber(Date("20/02/1984"))), 1.731);
    EXPECT_EQ(cgt::IndexationFactor(event, cgt::GetIndexNumber(Date("21/09/1999"))), 1.0);
}

struct AmountCase {
    Extended amount;
    double factor;
    Extended expected;
};

class IndexedAmountTest : public ::testing::TestWithParam<AmountCase> {};

TEST_P(IndexedAmountTest, RoundsHalfToEven) {
    const AmountCase& c = GetParam();
    EXPECT_EQ(cgt::IndexedAmount(c.amount, c.factor), c.expected)
        << static_cast<double>(c.amount) << " x " << c.factor;
}

// The product is taken on the stored factor: 1.001 is 1.00099999999999989.., so 1500 x 1.001
// is just under 1501.5 and does not reach the half.
INSTANTIATE_TEST_SUITE_P(Amounts, IndexedAmountTest,
                         ::testing::Values(AmountCase{10, 1.25, 12}, AmountCase{30, 1.25, 38},
                                           AmountCase{2, 1.25, 2}, AmountCase{11, 1.25, 14},
                                           AmountCase{1000, 1.028, 1028},
                                           AmountCase{500, 1.001, 500},
                                           AmountCase{1500, 1.001, 1501},
                                           AmountCase{12345, 1.731, 21369}, AmountCase{0, 1.731, 0},
                                           AmountCase{777, 1.0, 777}));

} // namespace
