// Malformed and random column descriptions and cell texts under the sanitizers: parsing,
// checks, formats, typing, totals, sorting and the store's lists must stay in bounds.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "controls/core/cell_table.h"
#include "controls/xgrid.h"
#include "support/scripted_dialogs.h"

namespace {

using cgt::test::ScriptedDialogs;

std::string RandomField(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {"",
                                                    "T",
                                                    "F",
                                                    "0",
                                                    "1",
                                                    "2",
                                                    "3",
                                                    "4",
                                                    "5",
                                                    "-1",
                                                    "10",
                                                    "12",
                                                    "99",
                                                    "a",
                                                    "A..Z",
                                                    "0..9,abc",
                                                    ",,",
                                                    "..",
                                                    ",",
                                                    "x..",
                                                    "1e308",
                                                    "-",
                                                    "1.5",
                                                    "  7",
                                                    "2147483647",
                                                    "-2147483648",
                                                    "99999999999",
                                                    "\r",
                                                    "\xff",
                                                    "0..9,-,+",
                                                    "A..Z,a..z,0..9",
                                                    "$",
                                                    "%g%s%n"};
    std::string field;
    const int parts = static_cast<int>(rng() % 3);
    for (int i = 0; i < parts; ++i)
        field += pieces[rng() % pieces.size()];
    return field;
}

std::string RandomLine(std::mt19937& rng) {
    std::string line;
    const int fields = static_cast<int>(rng() % 26);
    for (int i = 0; i < fields; ++i) {
        if (i) line += '|';
        line += RandomField(rng);
    }
    return line;
}

std::string RandomCell(std::mt19937& rng) {
    static const std::string alphabet = "0123456789.-/ ,$eE+aZ\xe9|";
    std::string cell;
    const int length = static_cast<int>(rng() % 14);
    for (int i = 0; i < length; ++i)
        cell += alphabet[rng() % alphabet.size()];
    if (rng() % 5 == 0) cell = std::to_string(static_cast<int>(rng() % 2000000) - 1000000);
    return cell;
}

TEST(ColumnDescriptionSan, RandomDescriptionsParseInBounds) {
    std::mt19937 rng(2004);
    for (int i = 0; i < 20000; ++i) {
        const std::string line = RandomLine(rng);
        const cgt::ColumnParse p = cgt::ParseColumnDescription(line);
        const auto fields = static_cast<std::size_t>(std::count(line.begin(), line.end(), '|')) + 1;
        ASSERT_LE(p.column.picklist.size(), std::max<std::size_t>(fields, 16));
        if (!p.ok) {
            EXPECT_TRUE(p.column.chars.none());
        }
        if (p.column.type == cgt::ctDate) {
            EXPECT_GE(p.column.width, 10);
        }
    }
}

TEST(ColumnDescriptionSan, RandomTablesCheckTypeSumAndSort) {
    ScriptedDialogs dialogs;
    std::mt19937 rng(1999);
    for (int round = 0; round < 400; ++round) {
        cgt::CellTable table;
        const int cols = 1 + static_cast<int>(rng() % 6);
        table.SetColCount(cols);
        table.SetRowCount(2 + static_cast<int>(rng() % 8));
        cgt::StringList display;
        for (int c = 0; c < cols; ++c) {
            static const std::vector<std::string> types = {"0", "1", "2", "3", "4", "9", "-3"};
            std::string line = RandomField(rng) + "|0|" + types[rng() % types.size()] + "|" +
                               RandomField(rng) + "|0|" + RandomField(rng) + "|T|" +
                               RandomField(rng) + "|" + RandomField(rng);
            for (int f = 0; f < 12; ++f)
                line += "|" + RandomField(rng);
            display.push_back(rng() % 4 == 0 ? RandomLine(rng) : line);
        }
        table.SetDisplay(display);
        table.SetHasTotalsRow(rng() % 2 == 0);
        table.onPicklistDropdown = [&](int, int, cgt::StringList& list) {
            if (rng() % 2) list.push_back(RandomCell(rng));
        };
        for (int r = 1; r < table.RowCount(); ++r)
            for (int c = 0; c < cols; ++c)
                table.SetCell(c, r, RandomCell(rng));

        cgt::StringList before;
        table.SaveRows(before);
        for (int r = 1; r < table.RowCount(); ++r)
            for (int c = 0; c < cols; ++c) {
                std::string text = table.Cell(c, r);
                for (int k = 0; k < 4; ++k) {
                    const char ch = static_cast<char>(rng() % 256);
                    const auto result = table.FilterKey(c, text, rng() % 2 == 0, ch);
                    if (result.verdict == cgt::KeyVerdict::Accept) text += result.ch;
                }
                table.StripCell(c, r);
                table.CheckCell(c, r);
                table.ColumnTotal(c);
                table.ColumnTotalText(c);
            }
        std::string keys;
        for (int k = 0; k < 3; ++k)
            keys += std::to_string(static_cast<int>(rng() % (cols + 2)) - 1) + ",";
        cgt::StringList unsorted;
        table.SaveRows(unsorted);
        table.SortRows(keys);
        cgt::StringList sorted;
        table.SaveRows(sorted);
        ASSERT_EQ(sorted.size(), unsorted.size());
        std::vector<cgt::StringList> a, b;
        for (std::size_t i = 0; i < sorted.size(); i += static_cast<std::size_t>(cols)) {
            a.emplace_back(unsorted.begin() + static_cast<std::ptrdiff_t>(i),
                           unsorted.begin() + static_cast<std::ptrdiff_t>(i) + cols);
            b.emplace_back(sorted.begin() + static_cast<std::ptrdiff_t>(i),
                           sorted.begin() + static_cast<std::ptrdiff_t>(i) + cols);
        }
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b); // the same rows, reordered

        cgt::StringList ragged = before;
        ragged.resize(ragged.size() + rng() % 5, "z");
        table.LoadRows(ragged);
        table.DeleteRow(static_cast<int>(rng() % 12) - 2);
        table.InsertRowAt(static_cast<int>(rng() % 12) - 2);
        table.LockColumn(static_cast<int>(rng() % 8) - 1);
    }
}

// Key clicks of the test library take ASCII only.
QString Ascii(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) > 126) c = '?';
    return QString::fromLatin1(text.c_str());
}

TEST(ColumnDescriptionSan, GridTakesMalformedDisplayAndRandomKeys) {
    ScriptedDialogs dialogs;
    std::mt19937 rng(30062004);
    QWidget window;
    auto* grid = new TXGrid(&window);
    grid->setGeometry(0, 0, 500, 200);
    window.show();
    for (int round = 0; round < 20; ++round) {
        QStringList display;
        const int cols = 1 + static_cast<int>(rng() % 5);
        for (int c = 0; c < cols; ++c)
            display << QString::fromLatin1(RandomLine(rng).c_str());
        grid->setColCount(cols);
        grid->setDisplay(display);
        grid->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        for (int k = 0; k < 30; ++k) {
            static const std::vector<Qt::Key> keys = {
                Qt::Key_Tab,   Qt::Key_Down,      Qt::Key_Up,     Qt::Key_Left,
                Qt::Key_Right, Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_Return};
            if (rng() % 3 == 0)
                QTest::keyClick(grid->inplaceEditor(), keys[rng() % keys.size()]);
            else
                QTest::keyClicks(grid->inplaceEditor(), Ascii(RandomCell(rng)));
        }
        QTest::keyClick(grid->inplaceEditor(), Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(grid->inplaceEditor(), Qt::Key_Return);
        EXPECT_GE(grid->Row(), 1);
        EXPECT_LT(grid->Row(), grid->RowCount());
        EXPECT_LT(grid->Col(), grid->ColCount());
    }
}

} // namespace
