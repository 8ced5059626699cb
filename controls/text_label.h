#pragma once
// TTextLbl: the question texts, explanations, bullet lists and help links of the interview,
// written in the label mark-up (controls/core/markup.h) and laid out line by line. The label
// records where each link run was drawn, underlines the one under the mouse, shows a hand
// cursor over links and reports clicks. The owner supplies values, line checks and colours
// through the OnScreenTag, OnCheckTag and OnColorTag callables.

#include <functional>
#include <string>
#include <vector>

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "controls/core/markup.h"

// A jump run: help topic JumpID.
struct TJump {
    int JumpID = 0;
    QString Text;
    QRect Rect;
};

// A hyperlink run: link Number (from 1 in each drawing pass) to URL.
struct THLink {
    int Number = 0;
    QString URL;
    QString Text;
    QRect Rect;
};

// A screen-link run.
struct TScreenLink {
    int ScreenID = 0;
    QRect Rect;
};

class TTextLbl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList Text READ Text WRITE setText)
    Q_PROPERTY(int LineSpacing READ LineSpacing WRITE setLineSpacing)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE setTransparent)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int Section READ Section WRITE setSection)
    Q_PROPERTY(int CurrentSection READ CurrentSection WRITE setCurrentSection)
    Q_PROPERTY(bool CalculateHeight READ CalculateHeight WRITE setCalculateHeight)
    Q_PROPERTY(int BottomMargin READ BottomMargin WRITE setBottomMargin)
    Q_PROPERTY(int ParentBottomMargin READ ParentBottomMargin WRITE setParentBottomMargin)
    Q_PROPERTY(TTextLblKind Kind READ Kind WRITE setKind)
    Q_PROPERTY(TTextLabelMode mode READ mode WRITE setMode)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(QString plainText READ plainText)
    Q_PROPERTY(QStringList plainTextLines READ plainTextLines)

public:
    enum TTextLblKind { tlkNone, tlkDirection, tlkAttention, tlkDanger };
    Q_ENUM(TTextLblKind)
    enum TTextLabelMode { tlmStandard, tlmVisionImpaired };
    Q_ENUM(TTextLabelMode)
    enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)

    // The owner's answers; an empty callable counts as not assigned.
    using TScreenTagEvent = std::function<void(TTextLbl* Sender, int ScreenTagID, QString& Tag)>;
    using TCheckTagEvent = std::function<void(TTextLbl* Sender, int CheckTagID, bool& Pass)>;
    using TColorTagEvent = std::function<void(TTextLbl* Sender, int ColorTagID, QColor& TagColor)>;
    TScreenTagEvent OnScreenTag; // the text of a V tag, read as mark-up
    TCheckTagEvent OnCheckTag;   // whether the rest of a line is shown
    TColorTagEvent OnColorTag;   // a colour for a c tag

    explicit TTextLbl(QWidget* parent = nullptr);
    ~TTextLbl() override;

    QStringList Text() const { return text_; }
    void setText(const QStringList& lines);
    int LineSpacing() const { return lineSpacing_; }
    void setLineSpacing(int tenths);
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    TBevelCut BevelInner() const { return bevelInner_; }
    void setBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);
    int Section() const { return state_.section; }
    void setSection(int section) { state_.section = section; }
    int CurrentSection() const { return currentSection_; }
    void setCurrentSection(int section);
    bool CalculateHeight() const { return calculateHeight_; }
    void setCalculateHeight(bool on);
    int BottomMargin() const { return bottomMargin_; }
    void setBottomMargin(int margin);
    int ParentBottomMargin() const { return parentBottomMargin_; }
    void setParentBottomMargin(int margin);
    TTextLblKind Kind() const { return kind_; }
    void setKind(TTextLblKind kind);
    TTextLabelMode mode() const { return mode_; }
    void setMode(TTextLabelMode mode);
    bool TabStop() const { return tabStop_; }
    void setTabStop(bool on);

    // The drawn text: from the last drawing pass, laid out afresh when the label changed since.
    QString plainText() const;
    QStringList plainTextLines() const;

    // Hit records of the last drawing pass.
    int JumpCount() const;
    TJump Jump(int index) const;
    int LinkCount() const;
    THLink Link(int index) const;
    int ScreenLinkCount() const;
    TScreenLink ScreenLink(int index) const;

    // The links as a screen reader lists them: each help-topic jump, then each hyperlink, once
    // with the text of all its runs.
    struct TLinkRun {
        bool Hyperlink = false;
        int ID = 0; // JumpID or link Number
        QString Text;
        QString URL;
        QRect Rect; // around all its runs
    };
    std::vector<TLinkRun> LinkRuns() const;
    // Follows a link as a click on it does.
    void FollowLink(const TLinkRun& link);

    // Runs, records and plain text of the last drawing pass.
    const cgt::markup::LayoutResult& LastLayout() const;

    // The platform's rescaling by m/d: positions of the mark-up are scaled by m/d, font sizes by
    // m/d truncated to two decimals; the bounds and the font are scaled as well.
    void ChangeScale(int m, int d);
    double PositionScale() const { return positionScale_; }
    double SizeScale() const { return sizeScale_; }

    // Remembers the font size (for the "." tag), the font colour (for "c0") and the cursor (shown
    // when no link is under the mouse). Done once before the first layout; call again after a
    // form has set the font, the palette or the cursor later on.
    void Loaded();

    // The icon of a kind (empty for tlkNone), shared by all labels.
    static const QImage& KindIcon(TTextLblKind kind);
    // Frame colour of a kind.
    static QColor KindColor(TTextLblKind kind);

signals:
    void OnJumpClick(TTextLbl* Sender, int JumpID, const QString& LinkURL);
    void OnScreenClick(TTextLbl* Sender, int ScreenID);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void changed();
    void runLayout();
    void ensureLayout() const;
    void updateHover(const QPoint& pos);
    void applyFocusPolicy();
    int bevelOffset() const;
    QColor textColor() const;
    QColor toQColor(const cgt::Colour& color) const;
    static cgt::Colour fromQColor(const QColor& color);
    QFont toQFont(const cgt::markup::RunFont& desc) const;
    void drawBevel(QPainter& painter, QRect& rect, TBevelCut cut) const;
    void setWantedGeometry(const QRect& bounds);

    QStringList text_;
    std::vector<std::string> lines_; // text_ in UTF-8
    int lineSpacing_ = 10;
    QColor color_;
    bool transparent_ = false;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvNone;
    int bevelWidth_ = 1;
    int currentSection_ = 1;
    bool calculateHeight_ = false;
    int bottomMargin_ = 3;
    int parentBottomMargin_ = -1;
    TTextLblKind kind_ = tlkNone;
    TTextLabelMode mode_ = tlmStandard;
    bool tabStop_ = false;

    double positionScale_ = 1.0;
    double sizeScale_ = 1.0;

    bool loaded_ = false;
    int loadFontSize_ = 10;
    QColor loadFontColor_;
    QCursor loadCursor_;

    cgt::markup::State state_;
    cgt::markup::Hover hover_;
    bool handShown_ = false;

    cgt::markup::LayoutResult last_;
    bool dirty_ = true; // changed since the last drawing pass
    bool painting_ = false;
    bool geometryQueued_ = false;
    QRect wantedGeometry_;
};
