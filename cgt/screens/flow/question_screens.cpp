// The question and information screens of the interview path. Their questions and routes are
// rows of the screen table; the two with more to do (the unapplied losses and the first shares
// question) add it here.

#include <QLabel>

#include "cgt/screens/flow/question_screen.h"
#include "cgt/screens/flow/screen_flow.h"
#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/tags.h"

namespace {

// Every question and information screen of the table is a TQuestionScreen under its class
// name. The classes below, which add to it, replace their rows' factories: they are defined
// after this in the same file, so they register later.
[[maybe_unused]] const bool kQuestionScreensRegistered = [] {
    for (const cgt::ScreenRow& row : cgt::QuestionTable()) {
        const std::string_view name = row.className;
        cgt::RegisterScreenClass(name,
                                 [name]() -> TChildForm* { return new TQuestionScreen(name); });
    }
    return true;
}();

} // namespace

// 2006: the first shares question. The progress marker must hold a number before any answer
// raises it.
class TQCGT_39a : public TQuestionScreen {
public:
    TQCGT_39a() : TQuestionScreen("TQCGT_39a") {
        if (!cgt::IsNumberType(cgt::GetFieldType(cgt::tag::kProgressMarker))) {
            cgt::ClearField(cgt::tag::kProgressMarker);
            cgt::SetFieldType(cgt::tag::kProgressMarker, cgt::dtNumeric);
        }
    }
};
CGT_REGISTER_SCREEN(TQCGT_39a);

// 2005: unapplied net capital losses of earlier years, whole dollars. A zero is not a loss:
// a field left holding "0" is emptied, and so is either field when the screen is left.
class TQCGT_56 : public TQuestionScreen, public cgt::CheckedScreen {
public:
    TQCGT_56() : TQuestionScreen("TQCGT_56") {
        int top = ContentTop();
        collectables_ =
            addAmount("CollectablesEdit", "Unapplied net capital losses from collectables",
                      cgt::tag::kUnappliedCollectableLosses, top);
        other_ = addAmount("OtherEdit", "Other unapplied net capital losses",
                           cgt::tag::kUnappliedOtherLosses, top + 32);
    }

    std::optional<cgt::ScreenRefusal> CheckLeave(cgt::Direction /*direction*/) override {
        emptyZero(collectables_);
        emptyZero(other_);
        return std::nullopt;
    }

    TTaxEdit* Collectables() const { return collectables_; }
    TTaxEdit* Other() const { return other_; }

private:
    TTaxEdit* addAmount(const char* name, const char* caption, int tag, int top) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setGeometry(16, top + 2, 360, 22);
        auto* edit = new TTaxEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setNumericType(TCustomNumEdit::ntCurrency);
        edit->setVarnDataType(TCustomNumEdit::vtDollar);
        edit->setMaxLength(8);
        edit->setProperty("fieldTag", tag);
        edit->setGeometry(400, top, 120, 22);
        connect(edit, &TTaxEdit::OnExit, this, [this, edit] { emptyZero(edit); });
        return edit;
    }

    static void emptyZero(TTaxEdit* edit) {
        QString text = edit->text();
        text.remove(QLatin1Char(',')).remove(QLatin1Char('$'));
        if (text.trimmed() == QLatin1String("0")) edit->clear();
    }

    TTaxEdit* collectables_;
    TTaxEdit* other_;
};
CGT_REGISTER_SCREEN(TQCGT_56);
