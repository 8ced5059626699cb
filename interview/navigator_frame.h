#pragma once
// TNavigatorFrame: the topic tree beside the interview screens. It draws the tree itself
// (highlight, arrows, question numbers) and reports a topic or item the user picks through
// OnSelectItem, but only while it is active. SelectItemByScreenID moves the highlight to the
// topic of a screen without reporting anything.

#include <functional>
#include <memory>

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QWidget>

#include "interview/navigator_data.h"

class QFontMetrics;
class QPainter;
class TNavigatorFrame;

namespace Ui {
class TNavigatorFrame;
}

// The tree control: no platform branch drawing (the frame draws whole rows), and it tells the
// frame before a collapse starts and where the mouse is during a click.
class TNavigatorTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TNavigatorTreeView(QWidget* parent = nullptr);

    // Mouse position in viewport coordinates: of the press or release being handled, otherwise
    // of the cursor.
    QPoint MousePosition() const;
    // Collapses node, announcing it through nodeCollapsing first.
    void CollapseNode(QTreeWidgetItem* node);

signals:
    void nodeCollapsing(QTreeWidgetItem* node);
    // A press and release on the row that already was the current one (no change event).
    void currentNodeClicked(QTreeWidgetItem* node);
    // A collapse announced by nodeCollapsing that did not happen.
    void collapseSkipped();
    // Enter, Return or Space on the current node: the keyboard's choice of it.
    void nodeChosen(QTreeWidgetItem* node);

public:
    // The arrow keys are moving the current node: the move only highlights, nothing is chosen.
    bool InKeyMove() const { return fInKeyMove; }

protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AnnounceCollapse(QTreeWidgetItem* node);
    void EndCollapse(QTreeWidgetItem* node);

    bool fInMouseEvent = false;
    bool fInKeyMove = false;
    QPoint fMousePos;
    QTreeWidgetItem* fPressedCurrent = nullptr; // current node at the press when pressed on it
};

class TNavigatorFrame : public QWidget {
    Q_OBJECT
public:
    using TSelectItemEvent = std::function<void(TNavigatorFrame*, TNavigatorItem*)>;

    explicit TNavigatorFrame(QWidget* parent = nullptr);
    ~TNavigatorFrame() override;

    void Initialise(TCustomNavigatorData* data);
    void DoSelectItem(TNavigatorItem* item);
    TNavigatorItem* GetSelectedItem() const;
    // Highlights the topic or item of screenId without reporting it; false when none has it.
    bool SelectItemByScreenID(int screenId);
    // Marks the topic or item of screenId as one the user must visit again, or clears the mark;
    // false when none has it.
    bool MarkForVisit(int screenId, bool needed);
    void SelectNodeByName(const QString& name, bool expand, bool collapseOthers);
    void SetOnSelectItem(TSelectItemEvent handler);
    const TSelectItemEvent& OnSelectItem() const { return fOnSelectItem; }

    void setActive(bool on) { fActive = on; }
    bool active() const { return fActive; }
    bool collapsing() const { return fCollapsing; }

    TCustomNavigatorData* Data() const { return fData; }
    TNavigatorTreeView* navigatorTreeView() const;
    // The node that carries item, nullptr if none.
    QTreeWidgetItem* NodeOf(const TNavigatorItem* item) const;
    static TNavigatorItem* ItemOf(const QTreeWidgetItem* node);

    // The four arrows: collapsed, collapsed selected, expanded, expanded selected.
    const QList<QPixmap>& arrowImageList() const { return fArrowImages; }

    // Where node's caption is drawn in a row whose item rectangle (the part right of the indent)
    // is itemRect, and how: long captions wrap onto further lines of a taller row.
    QRect CaptionRect(const QTreeWidgetItem* node, const QRect& itemRect) const;
    static int CaptionFlags();
    // The height node's row needs for its whole caption at the tree's present width.
    int RowHeight(const QTreeWidgetItem* node, const QFontMetrics& metrics) const;

    // Draws one node's whole row: called by the tree's item delegate.
    void navigatorTreeViewCustomDrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                                         QTreeWidgetItem* node) const;
    // Whether node's row is drawn highlighted.
    bool IsHighlighted(const QTreeWidgetItem* node) const;

public slots:
    void navigatorTreeViewChange(QTreeWidgetItem* node);
    void navigatorTreeViewClick();
    void navigatorTreeViewCollapsing(QTreeWidgetItem* node);
    void navigatorTreeViewCollapsed(QTreeWidgetItem* node);
    void navigatorTreeViewExpanded(QTreeWidgetItem* node);

private:
    // Jumps to a node's topic or item, as a click on its text does.
    void chooseNode(QTreeWidgetItem* node);
    QTreeWidgetItem* FindNodeByName(const QString& name) const;
    void SetChangeEventEnabled(bool on);

    std::unique_ptr<Ui::TNavigatorFrame> fUi;
    TCustomNavigatorData* fData = nullptr;
    TSelectItemEvent fOnSelectItem;
    bool fActive = false;
    bool fCollapsing = false;
    QMetaObject::Connection fChangeConnection;
    QList<QPixmap> fArrowImages;
};
