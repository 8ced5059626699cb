#include "controls/gallery/control_gallery.h"

#include <QCheckBox>
#include <QLabel>

#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "controls/xgrid.h"
#include "store/tags.h"

namespace {

constexpr int kMargin = 12;
constexpr int kCaptionWidth = 150;
constexpr int kFieldHeight = 22;

struct FieldSetting {
    const char* name;
    const char* caption;
    TCustomNumEdit::TNumericType kind;
    TCustomNumEdit::TVarnDataType dataType;
    int maxLength; // 0: as the presets leave it
    int width;
};

// The combinations the question screens use.
constexpr FieldSetting kFields[] = {
    {"AmountEdit", "Amount", TCustomNumEdit::ntCurrency, TCustomNumEdit::vtDollar, 8, 110},
    {"CentsEdit", "Amount with cents", TCustomNumEdit::ntCurrencyCnt, TCustomNumEdit::vtDollarCents,
     9, 110},
    {"PercentEdit", "Percentage", TCustomNumEdit::ntPercentage, TCustomNumEdit::vtDollarCents, 8,
     110},
    {"DateEdit", "Date of acquisition", TCustomNumEdit::ntDate, TCustomNumEdit::vtDate8, 0, 110},
    {"TfnEdit", "Tax file number", TCustomNumEdit::ntTFN, TCustomNumEdit::vtNone, 11, 110},
    {"DescriptionEdit", "Description", TCustomNumEdit::ntNone, TCustomNumEdit::vtAddressText, 60,
     330},
};

const QStringList kCostElements{
    "1 - Purchase/Acquisition cost",
    "1D - Instalments payment",
    "2A - Incidentals re holding & acquisition",
    "2B - Incidentals re specific CGT event",
    "3A - Non-capital costs of ownership",
    "3B - Balancing charges",
    "4 - Capital expenditure - increase value",
    "5 - Capital expenditure - maintain ownership",
};

QString CostElementColumn() {
    return "Cost Element         |0|0|45|0|F|T|0||0|0|8|1|" +
           QString::number(kCostElements.size()) + "|" + kCostElements.join('|') + "|F|F";
}

} // namespace

ControlGallery::ControlGallery(QWidget* parent) : QWidget(parent) {
    setObjectName("ControlGallery");
    setWindowTitle("Control gallery");
    setAutoFillBackground(true);
    addFields(kMargin);
    addQuestion(kMargin + 6 * (kFieldHeight + 8) + 8);
    addGrid(kMargin + 6 * (kFieldHeight + 8) + 8 + 190);
    resize(860, grid_->geometry().bottom() + totals_->height() + 2 * kMargin + 20);
}

TTaxEdit* ControlGallery::field(const QString& name) const {
    return findChild<TTaxEdit*>(name);
}

void ControlGallery::addFields(int top) {
    int y = top;
    for (const FieldSetting& s : kFields) {
        auto* caption = new QLabel(QString::fromLatin1(s.caption), this);
        caption->setGeometry(kMargin, y, kCaptionWidth, kFieldHeight);
        auto* edit = new TTaxEdit(this);
        edit->setObjectName(QString::fromLatin1(s.name));
        // Set in the order a form gives them: length, kind, data type, then the flags.
        if (s.maxLength > 0) edit->setMaxLength(s.maxLength);
        edit->setNumericType(s.kind);
        edit->setVarnDataType(s.dataType);
        if (s.kind == TCustomNumEdit::ntNone) edit->setCapitaliseWords(true);
        edit->setGeometry(kMargin + kCaptionWidth, y, s.width, kFieldHeight);
        caption->setBuddy(edit);
        y += kFieldHeight + 8;
    }
    field("AmountEdit")->setNumValue(125000);
    field("CentsEdit")->setNumValue(1234.5);
    field("PercentEdit")->setNumValue(12.5);
    field("DateEdit")->SetTextValue("01/07/2003");
    field("TfnEdit")->SetTextValue("123456782");
    field("TfnEdit")->FormatText();
    field("DescriptionEdit")->setText("Shares in BHP Billiton Ltd");
}

void ControlGallery::addQuestion(int top) {
    question_ = new TTextLbl(this);
    question_->setObjectName("QuestionLabel");
    question_->setGeometry(kMargin, top, 836, 150);
    question_->setText({
        "<s999><AL><Y0><X10><T1>Did a CGT event happen to any of your shares during 2003-04?<.>",
        "<X10>Registered asset name: <V710>",
        "<X10>A CGT event happens, for example, when you:",
        "<X20>•<X32>sell, give away or transfer shares;",
        "<X20>•<X32>have shares cancelled, redeemed or bought back.",
        "<s1><X10>Enter the <C12;T4;J196>date of acquisition<.> as it appears on your contract.",
        "<s2><X10>Shares acquired before 20 September 1985 are outside the CGT rules.",
    });
    question_->OnScreenTag = [](TTextLbl*, int tag, QString& text) {
        text = tag == cgt::tag::event::kName ? "<T1>Shares in BHP Billiton Ltd<.>"
                                             : "No asset selected";
    };
    question_->setCurrentSection(1);

    auto* sectionBox = new QCheckBox("Show the second section", this);
    sectionBox->setObjectName("SectionBox");
    sectionBox->setGeometry(kMargin, top + 155, 300, 22);
    connect(sectionBox, &QCheckBox::toggled, this,
            [this](bool on) { question_->setCurrentSection(on ? 2 : 1); });

    status_ = new QLabel(this);
    status_->setObjectName("StatusLabel");
    status_->setGeometry(kMargin + 320, top + 155, 500, 22);
    connect(question_, &TTextLbl::OnJumpClick, this, [this](TTextLbl*, int jump, const QString&) {
        status_->setText(QString("Help topic %1 was asked for.").arg(jump));
    });
}

void ControlGallery::addGrid(int top) {
    auto* caption = new QLabel("Cost elements", this);
    caption->setGeometry(kMargin, top, 300, 20);

    grid_ = new TXGrid(this);
    grid_->setObjectName("CostGrid");
    grid_->setColCount(8);
    grid_->setRowCount(6);
    grid_->setTitleLines(3);
    grid_->setDisplay({
        CostElementColumn(),
        "Date expense incurred|0|2|10",
        "Date paid|0|2|10",
        "Description of expense|0|0|40",
        "Amount|1|1|9|0|F|F|0|F|0|0",
        "Amount to be excluded from cost base|1|1|9|0|F|F|0|F|0|0",
        "Amt to be excluded from reduced cost base|1|1|9|0|F|F|0|F|0|0",
        "Comments|0|0|40",
    });
    const int widths[] = {250, 90, 90, 160, 80, 100, 100, 120};
    for (int col = 0; col < 8; ++col)
        grid_->setColWidths(col, widths[col]);
    // As on the cost base screen: the payment date column is locked and hidden, the reduced
    // cost base exclusion has no width.
    grid_->LockColumn(2);
    grid_->setColWidths(2, -1);
    grid_->setColWidths(6, -1);
    grid_->setGeometry(kMargin, top + 22, 836, 170);

    grid_->setCells(0, 1, kCostElements[0]);
    grid_->setCells(1, 1, "01/07/2003");
    grid_->setCells(3, 1, "Purchase of 1000 shares");
    grid_->setCells(4, 1, "12500");
    grid_->setCells(0, 2, kCostElements[2]);
    grid_->setCells(1, 2, "01/07/2003");
    grid_->setCells(3, 2, "Brokerage");
    grid_->setCells(4, 2, "125");

    totals_ = new TXGridTotals(this);
    totals_->setObjectName("CostTotals");
    totals_->setGrid(grid_);
    totals_->place();
}
