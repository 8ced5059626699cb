// The share screens' "Import trades…" command driven by keys: opened by its mnemonic with the
// chooser answering fixture paths, the preview's matches cell by cell, the method changed by
// keys planning again, Enter recording the events into the worksheet's list, Escape and refused
// files recording nothing, and a second import of a file replacing its events.

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

#include <array>
#include <fstream>

#include "cgt/screens/events/import_trades_form.h"
#include "cgt/screens/events/registration_screen.h"
#include "cgt/screens/events/trade_file_chooser.h"
#include "dialogs/modal_helper.h"
#include "event_fixture.h"
#include "store/data_file.h"

namespace cgt::test {
namespace {

using namespace tag::event;
using Cells = std::array<const char*, kMatchColumns>;

// Before the income year a sale uses 200 shares of the 1995 parcel; in the year 1,100 BHP
// shares are sold from two parcels and 100 CBA shares from a parcel bought before 20/09/1985.
constexpr const char* kTrades = "date,code,side,quantity,price,brokerage\n"
                                "01/02/1985,CBA,Buy,100,5.00,\n"
                                "05/03/1995,BHP,Buy,1000,12.50,49.95\n"
                                "15/05/2003,BHP,Buy,400,13.20,29.95\n"
                                "20/06/2003,BHP,Sell,200,13.00,19.95\n"
                                "20/11/2003,BHP,Sell,1100,14.10,39.95\n"
                                "10/01/2004,CBA,Sell,100,9.00,\n";

const std::vector<Cells> kFifoRows = {
    {"BHP 20/06/2003 (trades.csv:5)", "05/03/1995 (trades.csv:3)", "200", "$2,500.00", "$2,600.00",
     "First in, first out; no event: sold before the income year"},
    {"BHP 20/11/2003 (trades.csv:6)", "05/03/1995 (trades.csv:3)", "800", "$10,000.00",
     "$11,280.00", "First in, first out"},
    {"BHP 20/11/2003 (trades.csv:6)", "15/05/2003 (trades.csv:4)", "300", "$3,960.00", "$4,230.00",
     "First in, first out"},
    {"CBA 10/01/2004 (trades.csv:7)", "01/02/1985 (trades.csv:2)", "100", "$500.00", "$900.00",
     "First in, first out; no event: bought before 20/09/1985"},
};

// Last in, first out: the sale of the year takes the rest of the 2003 parcel first.
const std::vector<Cells> kLifoRows = {
    {"BHP 20/06/2003 (trades.csv:5)", "15/05/2003 (trades.csv:4)", "200", "$2,640.00", "$2,600.00",
     "Last in, first out; no event: sold before the income year"},
    {"BHP 20/11/2003 (trades.csv:6)", "15/05/2003 (trades.csv:4)", "200", "$2,640.00", "$2,820.00",
     "Last in, first out"},
    {"BHP 20/11/2003 (trades.csv:6)", "05/03/1995 (trades.csv:3)", "900", "$11,250.00",
     "$12,690.00", "Last in, first out"},
    {"CBA 10/01/2004 (trades.csv:7)", "01/02/1985 (trades.csv:2)", "100", "$500.00", "$900.00",
     "Last in, first out; no event: bought before 20/09/1985"},
};

class ImportTradesTest : public EventScreenTest {
protected:
    void SetUp() override {
        EventScreenTest::SetUp();
        SetTradeFileChooser([this](QWidget*) { return chosen; });
    }
    void TearDown() override {
        SetTradeFileChooser({});
        EventScreenTest::TearDown();
    }

    QString fixture(const std::string& name, const char* text) const {
        std::ofstream(folder.file(name), std::ios::binary) << text;
        return QString::fromStdString(folder.file(name));
    }
    // The shares registration with a new row open, beside a typed event in row 1.
    TQCGT_08* sharesRegistration() {
        registered(wkShares, {.name = "Typed shares"});
        frame->ReopenRow = false;
        start(2009);
        return dynamic_cast<TQCGT_08*>(screen());
    }
    // Alt+I where the focus is; `act` runs on the preview while it is open.
    void importByKeys(std::function<void(TImportTradesForm&)> act) {
        const auto ran = WhenModal([act](QDialog& dialog) {
            auto* form = qobject_cast<TImportTradesForm*>(&dialog);
            ASSERT_NE(form, nullptr);
            ASSERT_TRUE(QTest::qWaitFor([form] { return form->isAncestorOf(focusWidget()); }));
            act(*form);
        });
        activate();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        // The button clicks itself a moment after its mnemonic.
        QTest::keyClick(focus, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return *ran && !QApplication::activeModalWidget(); }));
        settle();
    }
    static void expectRows(const QTableWidget& table, const std::vector<Cells>& rows) {
        ASSERT_EQ(table.rowCount(), static_cast<int>(rows.size()));
        for (int row = 0; row < table.rowCount(); ++row)
            for (int col = 0; col < kMatchColumns; ++col)
                EXPECT_EQ(table.item(row, col)->text(), QString::fromUtf8(rows[row][col]))
                    << "row " << row << " column " << col;
    }
    static void key(QWidget& target, Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&target, k, modifiers);
        QApplication::processEvents();
    }
    static QWidget* focusWidget() { return QApplication::focusWidget(); }
    static QString focusedName() {
        QWidget* w = focusWidget();
        return w ? w->objectName() : QString();
    }
    std::vector<std::string> rowNames() const {
        std::vector<std::string> names;
        if (const Worksheet* sheet = WorksheetOf(wkShares))
            for (std::uint16_t row : sheet->rowKeys())
                names.push_back(RowText(wkShares, row, kName));
        return names;
    }

    TempFolder folder;
    QStringList chosen;
};

TEST_F(ImportTradesTest, PreviewByKeysThenEnterRecordsTheEventsInTheList) {
    ASSERT_NE(sharesRegistration(), nullptr);
    chosen = {fixture("trades.csv", kTrades)};
    cgt::Run().DataChanged = false;
    SetFieldVal(tag::kProgressMarker, 0);
    frame->WorksheetKind = 0;

    importByKeys([](TImportTradesForm& form) {
        expectRows(*form.MatchTable(), kFifoRows);
        EXPECT_EQ(form.SummaryLabel()->text(), "OK records 2 events.");
        EXPECT_FALSE(form.RefusalList()->isVisible());
        EXPECT_TRUE(form.OkButton()->isEnabled());
        // A screen reader names each control, and each cell by its column and sale.
        for (QWidget* w : form.findChildren<QWidget*>()) {
            if (!w->isVisible() || !(w->focusPolicy() & Qt::TabFocus)) continue;
            EXPECT_FALSE(
                QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
                << w->metaObject()->className();
        }
        EXPECT_EQ(form.MatchTable()->item(1, 3)->data(Qt::AccessibleTextRole).toString(),
                  "Cost of sale BHP 20/11/2003 (trades.csv:6): $10,000.00");

        // Tab goes down the dialog as it is seen, Shift+Tab back.
        EXPECT_EQ(focusedName(), "MethodBox");
        for (const char* next : {"MatchTable", "OkButton", "CancelButton"}) {
            key(*QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(focusedName(), next);
        }
        for (int i = 0; i < 3; ++i)
            key(*QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(focusedName(), "MethodBox");

        key(*form.MethodBox(), Qt::Key_Down);
        EXPECT_EQ(form.Method(), MatchMethod::Lifo);
        expectRows(*form.MatchTable(), kLifoRows);

        // The lowest net capital gain says what it found below the count of events.
        key(*form.MethodBox(), Qt::Key_Down);
        key(*form.MethodBox(), Qt::Key_Down);
        ASSERT_EQ(form.Method(), MatchMethod::Lowest);
        ASSERT_TRUE(form.Plan().lowest.has_value());
        EXPECT_EQ(form.SummaryLabel()->text(),
                  "OK records 2 events.\n" +
                      QString::fromStdString(LowestMatchingNote(*form.Plan().lowest)));
        EXPECT_TRUE(form.MatchTable()->item(1, 5)->text().startsWith("Lowest net capital gain"));
        key(*form.MethodBox(), Qt::Key_Up);
        key(*form.MethodBox(), Qt::Key_Up);
        ASSERT_EQ(form.Method(), MatchMethod::Lifo);
        expectRows(*form.MatchTable(), kLifoRows);
        EXPECT_EQ(form.SummaryLabel()->text(), "OK records 2 events.");
        key(*form.MethodBox(), Qt::Key_Return);
    });

    EXPECT_EQ(rowNames(),
              (std::vector<std::string>{"Typed shares", "BHP 200 shares bought 15/05/2003",
                                        "BHP 900 shares bought 05/03/1995"}));
    EXPECT_EQ(RowText(wkShares, 3, kCapitalProceeds), "12690");
    const std::vector<std::string> list = frame->PickList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1], "BHP 200 shares bought 15/05/2003");
    EXPECT_EQ(list[2], "BHP 900 shares bought 05/03/1995");
    EXPECT_EQ(frame->PickListBox()->count(), 4);
    // A new event's row is open; the route's shares question counts as answered Yes.
    EXPECT_EQ(frame->PickListBox()->currentRow(), 3);
    EXPECT_EQ(dynamic_cast<TQCGT_08*>(screen())->DescEdit()->Text8(), "");
    EXPECT_EQ(GetFieldVal(tag::kProgressMarker), 1);
    EXPECT_EQ(frame->WorksheetKind, wkShares);
    EXPECT_TRUE(cgt::Run().DataChanged);
}

TEST_F(ImportTradesTest, EscapeRecordsNothing) {
    ASSERT_NE(sharesRegistration(), nullptr);
    chosen = {fixture("trades.csv", kTrades)};
    const std::vector<std::uint8_t> before = SerialisePlain();
    importByKeys([](TImportTradesForm& form) {
        EXPECT_EQ(form.MatchTable()->rowCount(), 4);
        key(form, Qt::Key_Escape);
    });
    EXPECT_EQ(SerialisePlain(), before);
    EXPECT_EQ(rowNames(), std::vector<std::string>{"Typed shares"});
}

TEST_F(ImportTradesTest, RefusedFilesAreListedByFileAndLineAndNothingIsRecorded) {
    ASSERT_NE(sharesRegistration(), nullptr);
    chosen = {fixture("bad.csv", "date,code,side,quantity,price,brokerage\n"
                                 "05/03/1995,BHP,Buy,1000,12.50,49.95\n"
                                 "20/11/2003,BHP,Sell,many,14.10,39.95\n"),
              QString::fromStdString(folder.file("missing.csv"))};
    const std::vector<std::uint8_t> before = SerialisePlain();
    cgt::Run().DataChanged = false;

    importByKeys([](TImportTradesForm& form) {
        QListWidget& refusals = *form.RefusalList();
        EXPECT_TRUE(refusals.isVisible());
        ASSERT_EQ(refusals.count(), 2);
        EXPECT_EQ(refusals.item(0)->text(), "missing.csv: the file cannot be read");
        EXPECT_TRUE(refusals.item(1)->text().startsWith("bad.csv:3: "))
            << refusals.item(1)->text().toStdString();
        EXPECT_FALSE(form.OkButton()->isEnabled());
        EXPECT_TRUE(form.SummaryLabel()->text().startsWith("Nothing can be recorded"));
        // Enter does nothing while OK is disabled; Escape closes.
        key(*form.MethodBox(), Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        key(form, Qt::Key_Escape);
    });
    EXPECT_EQ(SerialisePlain(), before);
    EXPECT_FALSE(cgt::Run().DataChanged);
}

TEST_F(ImportTradesTest, ImportingTheSameFileAgainReplacesItsEvents) {
    ASSERT_NE(sharesRegistration(), nullptr);
    chosen = {fixture("trades.csv", kTrades)};
    importByKeys([](TImportTradesForm& form) { key(*form.MethodBox(), Qt::Key_Return); });
    const std::vector<std::string> once = rowNames();
    ASSERT_EQ(once.size(), 3u);

    importByKeys([](TImportTradesForm& form) {
        EXPECT_EQ(form.SummaryLabel()->text(),
                  "OK records 2 events, replacing the 2 events of an earlier import of the "
                  "same files.");
        key(*form.MethodBox(), Qt::Key_Return);
    });
    EXPECT_EQ(rowNames(), once);
    EXPECT_EQ(frame->PickListBox()->count(), 4);
}

TEST_F(ImportTradesTest, OnlyTheSharesRegistrationOffersTheCommandBelowItsList) {
    frame->WorksheetKind = wkShares;
    start(2009);
    QPointer<QPushButton> command = dynamic_cast<TQCGT_08*>(screen())->ImportTradesButton();
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isVisible());
    EXPECT_TRUE(frame->PickListBox()->parentWidget()->isAncestorOf(command));
    const QKeySequence mnemonic = QKeySequence::mnemonic(command->text());
    EXPECT_EQ(mnemonic, QKeySequence(Qt::ALT | Qt::Key_I));
    for (QAbstractButton* other : frame->findChildren<QAbstractButton*>()) {
        if (other != command) {
            EXPECT_NE(QKeySequence::mnemonic(other->text()), mnemonic);
        }
    }
    for (QLabel* label : frame->findChildren<QLabel*>())
        EXPECT_NE(QKeySequence::mnemonic(label->text()), mnemonic);

    // It goes with the screen.
    frame->JumpTo(2017);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(command.isNull());
    freshRun();
    frame->WorksheetKind = wkRealEstate;
    start(2035);
    EXPECT_EQ(dynamic_cast<TQCGT_08*>(screen())->ImportTradesButton(), nullptr);
}

TEST(ImportRefusalLine, NamesTheFileWithoutFoldersAndTheLine) {
    const struct {
        TradeRefusal refusal;
        const char* line;
    } cases[] = {
        {{"/home/me/trades.csv", 4, "no such side"}, "trades.csv:4: no such side"},
        {{"/home/me/trades.csv", 0, "no known header"}, "trades.csv: no known header"},
        {{"", 0, "the matching is refused"}, "the matching is refused"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RefusalLine(c.refusal), QString::fromLatin1(c.line));
}

} // namespace
} // namespace cgt::test
