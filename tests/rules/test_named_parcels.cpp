// The parcels named for sales, read from their file.

#include <gtest/gtest.h>

#include "base/dates.h"
#include "cgt/rules/named_parcels.h"

namespace cgt {
namespace {

TEST(NamedParcels, ReadsLinesSkippingNotesAndBlanks) {
    const NamedParcels read = ReadNamedParcels(
        "parcels.csv",
        "\xEF\xBB\xBF# sale,code,units,parcel\r\n\r\n20/11/2003, bhp ,600,5/3/1995\r\n"
        "14/04/2004,ANZ,300,12/08/1998");
    ASSERT_FALSE(read.refused);
    ASSERT_EQ(read.parcels.size(), 2u);
    const NamedParcel& first = read.parcels[0];
    EXPECT_EQ(first.code, "BHP");
    EXPECT_EQ(first.units, 600);
    EXPECT_EQ(first.saleDate, *EncodeDate(2003, 11, 20));
    EXPECT_EQ(first.parcelDate, *EncodeDate(1995, 3, 5));
    EXPECT_EQ(first.line, 3);
    EXPECT_EQ(read.parcels[1].line, 4);
    EXPECT_EQ(read.parcels[1].file, "parcels.csv");
}

TEST(NamedParcels, RefusesALineThatIsNone) {
    for (const char* bad :
         {"20/11/2003,BHP,600", "20/11/2003,BHP,six,5/3/1995", "31/02/2003,BHP,600,5/3/1995",
          "20/11/2003,,600,5/3/1995", "20/11/2003,BHP,0,5/3/1995", "20/11/2003,BHP,2.5,5/3/1995"}) {
        const NamedParcels read = ReadNamedParcels("p.csv", std::string("# note\n") + bad);
        ASSERT_TRUE(read.refused) << bad;
        EXPECT_EQ(read.refused->line, 2) << bad;
        EXPECT_EQ(read.refused->Text().substr(0, 7), "p.csv:2") << bad;
        EXPECT_TRUE(read.parcels.empty());
    }
}

} // namespace
} // namespace cgt
