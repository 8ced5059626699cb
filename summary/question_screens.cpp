// The question and information screens of the interview path. Their questions and routes are
// rows of the question table; the classes only name their row, and the two with more to do
// (the unapplied losses and the first shares question) add it here.

#include <QLabel>

#include "controls/tax_edit.h"
#include "controls/text_label.h"
#include "interview/screen_registry.h"
#include "store/field_store.h"
#include "store/run_state.h"
#include "summary/question_flow.h"
#include "summary/question_screen.h"

#define CGT_QUESTION_SCREEN(ClassName)                                                             \
    class ClassName : public TQuestionScreen {                                                     \
    public:                                                                                        \
        ClassName() : TQuestionScreen(#ClassName) {}                                               \
    };                                                                                             \
    CGT_REGISTER_SCREEN(ClassName)

CGT_QUESTION_SCREEN(TQCGT_83);
CGT_QUESTION_SCREEN(TQCGT_60);
CGT_QUESTION_SCREEN(TQCGT_39);
CGT_QUESTION_SCREEN(TQCGT_40);
CGT_QUESTION_SCREEN(TQCGT_03a);
CGT_QUESTION_SCREEN(TQCGT_41);
CGT_QUESTION_SCREEN(TQCGT_42);
CGT_QUESTION_SCREEN(TQCGT_43a);
CGT_QUESTION_SCREEN(TQCGT_43b);
CGT_QUESTION_SCREEN(TQCGT_43);
CGT_QUESTION_SCREEN(TQCGT_44);
CGT_QUESTION_SCREEN(TQCGT_80);
CGT_QUESTION_SCREEN(TQCGT_81);
CGT_QUESTION_SCREEN(TQCGT_82);
CGT_QUESTION_SCREEN(TQCGT_45a);
CGT_QUESTION_SCREEN(TQCGT_45);
CGT_QUESTION_SCREEN(TQCGT_46);
CGT_QUESTION_SCREEN(TQCGT_47a);
CGT_QUESTION_SCREEN(TQCGT_47);
CGT_QUESTION_SCREEN(TQCGT_48);
CGT_QUESTION_SCREEN(TQCGT_49a);
CGT_QUESTION_SCREEN(TQCGT_49);
CGT_QUESTION_SCREEN(TQCGT_08g);
CGT_QUESTION_SCREEN(TQCGT_50);
CGT_QUESTION_SCREEN(TQCGT_35);
CGT_QUESTION_SCREEN(TQCGT_37);
CGT_QUESTION_SCREEN(TQCGT_57);

// 2006: the first shares question. The progress marker must hold a number before any answer
// raises it.
class TQCGT_39a : public TQuestionScreen {
public:
    TQCGT_39a() : TQuestionScreen("TQCGT_39a") {
        if (!cgt::IsNumberType(cgt::GetFieldType(cgt::kProgressMarkerTag))) {
            cgt::ClearField(cgt::kProgressMarkerTag);
            cgt::SetFieldType(cgt::kProgressMarkerTag, cgt::dtNumeric);
        }
    }
};
CGT_REGISTER_SCREEN(TQCGT_39a);

// 2005: unapplied net capital losses of earlier years, whole dollars. A zero is not a loss:
// a field left holding "0" is emptied.
class TQCGT_56 : public TQuestionScreen {
public:
    TQCGT_56() : TQuestionScreen("TQCGT_56") {
        int top = ContentTop();
        collectables_ =
            addAmount("CollectablesEdit", "Unapplied net capital losses from collectables",
                      cgt::kUnappliedCollectablesTag, top);
        other_ = addAmount("OtherEdit", "Other unapplied net capital losses",
                           cgt::kUnappliedOtherTag, top + 32);
    }

    void FormShow() override {
        TQuestionScreen::FormShow();
        cgt::Run().ValidateHook = [this] {
            emptyZero(collectables_);
            emptyZero(other_);
            cgt::Run().ScreenValid = true;
        };
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
