#include "interview/navigator_frame.h"

#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

#include "interview/trace_log.h"
#include "ui_navigator_frame.h"

static void InitNavigatorResources() {
    Q_INIT_RESOURCE(navigator);
}

namespace {

constexpr int kArrowSize = 12;
constexpr int kNumberWidth = 20; // room for a question number left of an item's caption
constexpr int kTextMargin = 2;

QString BoolNumber(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

// Every node of the tree, in tree order (each root followed by its children).
QList<QTreeWidgetItem*> NodesInOrder(const QTreeWidget* tree) {
    QList<QTreeWidgetItem*> nodes;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = tree->topLevelItem(i);
        nodes.append(root);
        for (int j = 0; j < root->childCount(); ++j)
            nodes.append(root->child(j));
    }
    return nodes;
}

// Hands the drawing of each row to the frame, and gives rows room for the arrows.
class TNavigatorItemDelegate : public QStyledItemDelegate {
public:
    TNavigatorItemDelegate(TNavigatorFrame* frame, TNavigatorTreeView* tree)
        : QStyledItemDelegate(tree), fFrame(frame), fTree(tree) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (QTreeWidgetItem* node = fTree->itemFromIndex(index))
            fFrame->navigatorTreeViewCustomDrawItem(painter, option, node);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QTreeWidgetItem* node = fTree->itemFromIndex(index);
        size.setHeight(node ? fFrame->RowHeight(node, option.fontMetrics)
                            : std::max(option.fontMetrics.height() + 4, kArrowSize + 6));
        return size;
    }

private:
    TNavigatorFrame* fFrame;
    TNavigatorTreeView* fTree;
};

} // namespace

// TNavigatorTreeView

TNavigatorTreeView::TNavigatorTreeView(QWidget* parent) : QTreeWidget(parent) {}

QPoint TNavigatorTreeView::MousePosition() const {
    if (fInMouseEvent) return fMousePos;
    return viewport()->mapFromGlobal(QCursor::pos());
}

void TNavigatorTreeView::CollapseNode(QTreeWidgetItem* node) {
    if (!node || !node->isExpanded()) return;
    AnnounceCollapse(node);
    node->setExpanded(false);
    EndCollapse(node);
}

void TNavigatorTreeView::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {
    // The frame draws the whole row, arrows included.
}

void TNavigatorTreeView::AnnounceCollapse(QTreeWidgetItem* node) {
    if (node && node->isExpanded()) emit nodeCollapsing(node);
}

void TNavigatorTreeView::EndCollapse(QTreeWidgetItem* node) {
    // A collapse ends with itemCollapsed; one that did not happen must not leave the flag set.
    if (node && node->isExpanded()) emit collapseSkipped();
}

void TNavigatorTreeView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    // A press left of the text of an expanded node is on its arrow: it collapses the node.
    QTreeWidgetItem* collapsing =
        node && node->isExpanded() && pos.x() < visualItemRect(node).left() ? node : nullptr;
    fPressedCurrent = node && node == currentItem() ? node : nullptr;
    fInMouseEvent = true;
    fMousePos = pos;
    auto done = qScopeGuard([this] { fInMouseEvent = false; });
    AnnounceCollapse(collapsing);
    QTreeWidget::mousePressEvent(event);
    EndCollapse(collapsing);
}

void TNavigatorTreeView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    QTreeWidgetItem* collapsing =
        node && node->isExpanded() && pos.x() < visualItemRect(node).left() ? node : nullptr;
    QTreeWidgetItem* pressedCurrent = fPressedCurrent;
    fPressedCurrent = nullptr;
    fInMouseEvent = true;
    fMousePos = pos;
    auto done = qScopeGuard([this] { fInMouseEvent = false; });
    AnnounceCollapse(collapsing);
    QTreeWidget::mouseReleaseEvent(event);
    EndCollapse(collapsing);
    // Clicking the node that already is the current one changes nothing, so no change event
    // reports it: report the click itself.
    if (event->button() == Qt::LeftButton && pressedCurrent && node == pressedCurrent &&
        currentItem() == node && !collapsing)
        emit currentNodeClicked(node);
}

void TNavigatorTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* node = itemAt(pos);
    QTreeWidgetItem* collapsing = node && node->isExpanded() ? node : nullptr;
    fInMouseEvent = true;
    fMousePos = pos;
    auto done = qScopeGuard([this] { fInMouseEvent = false; });
    AnnounceCollapse(collapsing);
    QTreeWidget::mouseDoubleClickEvent(event);
    EndCollapse(collapsing);
}

void TNavigatorTreeView::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    // Captions wrap at the width: the rows take new heights.
    if (event->size().width() != event->oldSize().width()) scheduleDelayedItemsLayout();
}

void TNavigatorTreeView::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* node = currentItem();
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && node &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        emit nodeChosen(node);
        return;
    }
    fInKeyMove = true;
    auto done = qScopeGuard([this] { fInKeyMove = false; });
    const bool collapseKey = event->key() == Qt::Key_Left || event->key() == Qt::Key_Minus;
    QTreeWidgetItem* collapsing = collapseKey && node && node->isExpanded() ? node : nullptr;
    AnnounceCollapse(collapsing);
    QTreeWidget::keyPressEvent(event);
    EndCollapse(collapsing);
}

// TNavigatorFrame

TNavigatorFrame::TNavigatorFrame(QWidget* parent)
    : QWidget(parent), fUi(std::make_unique<Ui::TNavigatorFrame>()) {
    InitNavigatorResources();
    fUi->setupUi(this);
    for (int i = 0; i < 4; ++i)
        fArrowImages.append(QPixmap(QStringLiteral(":/navigator/arrow%1.png").arg(i)));

    TNavigatorTreeView* tree = fUi->navigatorTreeView;
    // A caption too long for the panel wraps, and its row grows to hold it.
    tree->setUniformRowHeights(false);
    tree->setItemDelegate(new TNavigatorItemDelegate(this, tree));
    connect(tree, &TNavigatorTreeView::nodeCollapsing, this,
            &TNavigatorFrame::navigatorTreeViewCollapsing);
    connect(tree, &QTreeWidget::itemCollapsed, this, &TNavigatorFrame::navigatorTreeViewCollapsed);
    connect(tree, &TNavigatorTreeView::collapseSkipped, this, [this] { fCollapsing = false; });
    connect(tree, &QTreeWidget::itemExpanded, this, &TNavigatorFrame::navigatorTreeViewExpanded);
    connect(tree, &TNavigatorTreeView::currentNodeClicked, this, [this] {
        if (fActive && !fCollapsing) navigatorTreeViewClick();
    });
    connect(tree, &TNavigatorTreeView::nodeChosen, this, [this](QTreeWidgetItem* node) {
        if (fActive && !fCollapsing) chooseNode(node);
    });
}

TNavigatorFrame::~TNavigatorFrame() = default;

TNavigatorTreeView* TNavigatorFrame::navigatorTreeView() const {
    return fUi->navigatorTreeView;
}

TNavigatorItem* TNavigatorFrame::ItemOf(const QTreeWidgetItem* node) {
    if (!node) return nullptr;
    return reinterpret_cast<TNavigatorItem*>(node->data(0, Qt::UserRole).value<quintptr>());
}

QTreeWidgetItem* TNavigatorFrame::NodeOf(const TNavigatorItem* item) const {
    if (!item) return nullptr;
    for (QTreeWidgetItem* node : NodesInOrder(navigatorTreeView()))
        if (ItemOf(node) == item) return node;
    return nullptr;
}

void TNavigatorFrame::Initialise(TCustomNavigatorData* data) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.Initialise"));
    fData = data;
    TNavigatorTreeView* tree = navigatorTreeView();

    QPalette framePalette = palette();
    framePalette.setColor(QPalette::Window, TCustomNavigatorData::NavigatorColor());
    framePalette.setColor(QPalette::Base, TCustomNavigatorData::NavigatorColor());
    setPalette(framePalette);
    setAutoFillBackground(true);
    fActive = true;

    {
        const QSignalBlocker quiet(tree);
        tree->clear();
        auto addNode = [](QTreeWidgetItem* node, TNavigatorItem* item) {
            node->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
        };
        for (int i = 0; data && i < data->TopicCount(); ++i) {
            TNavigatorTopic* topic = data->Topic(i);
            auto* root = new QTreeWidgetItem(tree, QStringList{topic->fCaption});
            addNode(root, topic);
            for (const auto& item : topic->fItems) {
                QString text = item->fCaption;
                if (!item->fQuestionNumber.isEmpty())
                    text = item->fQuestionNumber + QLatin1String(" - ") + text;
                addNode(new QTreeWidgetItem(root, QStringList{text}), item.get());
            }
        }
        tree->setCurrentItem(nullptr);
    }
    if (!fChangeConnection)
        fChangeConnection = connect(tree, &QTreeWidget::currentItemChanged, this,
                                    &TNavigatorFrame::navigatorTreeViewChange);
}

void TNavigatorFrame::SetChangeEventEnabled(bool on) {
    if (on && !fChangeConnection)
        fChangeConnection = connect(navigatorTreeView(), &QTreeWidget::currentItemChanged, this,
                                    &TNavigatorFrame::navigatorTreeViewChange);
    else if (!on && fChangeConnection) {
        disconnect(fChangeConnection);
        fChangeConnection = {};
    }
}

void TNavigatorFrame::SetOnSelectItem(TSelectItemEvent handler) {
    fOnSelectItem = std::move(handler);
}

TNavigatorItem* TNavigatorFrame::GetSelectedItem() const {
    return ItemOf(navigatorTreeView()->currentItem());
}

void TNavigatorFrame::navigatorTreeViewChange(QTreeWidgetItem* node) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.navigatorTreeViewChange(Node: ") +
                          (node ? node->text(0) : QString()) + QLatin1Char(')'));
    // The arrow keys move the highlight; Enter chooses.
    if (fActive && !fCollapsing && !navigatorTreeView()->InKeyMove()) navigatorTreeViewClick();
}

void TNavigatorFrame::navigatorTreeViewClick() {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.navigatorTreeViewClick"));
    TNavigatorTreeView* tree = navigatorTreeView();
    const QPoint pos = tree->MousePosition();
    QTreeWidgetItem* node = tree->itemAt(pos);
    // On the node's text or right of it; not on its arrow or indent.
    if (!node || pos.x() < tree->visualItemRect(node).left()) return;
    chooseNode(node);
}

void TNavigatorFrame::chooseNode(QTreeWidgetItem* node) {
    TNavigatorItem* item = ItemOf(node);
    SelectNodeByName(node->text(0), node->parent() == nullptr, true);
    DoSelectItem(item);
}

void TNavigatorFrame::navigatorTreeViewCollapsing(QTreeWidgetItem*) {
    fCollapsing = true;
}

void TNavigatorFrame::navigatorTreeViewCollapsed(QTreeWidgetItem*) {
    fCollapsing = false;
}

void TNavigatorFrame::navigatorTreeViewExpanded(QTreeWidgetItem* node) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.navigatorTreeViewExpanded(Node: ") +
                          (node ? node->text(0) : QString()) + QLatin1Char(')'));
    navigatorTreeView()->viewport()->update();
}

void TNavigatorFrame::DoSelectItem(TNavigatorItem* item) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.DoSelectItem(aItem: ") +
                          (item ? item->Description() : QString()) + QLatin1Char(')'));
    if (fData) fData->SelectItem(item);
    if (fActive && fOnSelectItem) fOnSelectItem(this, item);
    navigatorTreeView()->viewport()->update();
}

QTreeWidgetItem* TNavigatorFrame::FindNodeByName(const QString& name) const {
    for (QTreeWidgetItem* node : NodesInOrder(navigatorTreeView()))
        if (node->text(0).compare(name, Qt::CaseInsensitive) == 0) return node;
    return nullptr;
}

void TNavigatorFrame::SelectNodeByName(const QString& name, bool expand, bool collapseOthers) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.SelectNodeByName(aNodeName: ") + name +
                          QLatin1String("; aExpand: ") + BoolNumber(expand) +
                          QLatin1String("; aCollapseOthers: ") + BoolNumber(collapseOthers) +
                          QLatin1Char(')'));
    TNavigatorTreeView* tree = navigatorTreeView();
    QTreeWidgetItem* node = FindNodeByName(name);
    if (!node) return;
    tree->setCurrentItem(node);
    if (tree->currentItem() != node) {
        // The change event selected another node meanwhile: select this one quietly.
        node = FindNodeByName(name);
        if (!node) return;
        SetChangeEventEnabled(false);
        auto restore = qScopeGuard([this] { SetChangeEventEnabled(true); });
        tree->setCurrentItem(node);
    }
    QTreeWidgetItem* root = node->parent() ? node->parent() : node;
    // Only a node with children opens (and reports its expansion).
    if (node->parent() || (expand && node->childCount() > 0)) root->setExpanded(true);
    if (collapseOthers) {
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            if (tree->topLevelItem(i) != root) tree->CollapseNode(tree->topLevelItem(i));
    }
}

bool TNavigatorFrame::SelectItemByScreenID(int screenId) {
    cgt::TraceScope trace(QStringLiteral("TNavigatorFrame.SelectItemByScreenID(aScreenId: ") +
                          QString::number(screenId) + QLatin1Char(')'));
    if (TNavigatorItem* selected = GetSelectedItem(); selected && selected->fScreenId == screenId) {
        cgt::TraceInfo(QStringLiteral("Current selected screen id is") +
                       QString::number(selected->fScreenId));
        return true;
    }
    TNavigatorItem* item = fData ? fData->FindItemByScreenID(screenId) : nullptr;
    if (!item) return false;
    {
        TSelectItemEvent saved = std::exchange(fOnSelectItem, nullptr);
        auto restore = qScopeGuard([&] { fOnSelectItem = std::move(saved); });
        for (QTreeWidgetItem* node : NodesInOrder(navigatorTreeView())) {
            const TNavigatorItem* nodeItem = ItemOf(node);
            if (nodeItem && nodeItem->fScreenId == item->fScreenId)
                SelectNodeByName(node->text(0), true, true);
        }
    }
    fData->SelectItem(item);
    navigatorTreeView()->viewport()->update();
    return true;
}

bool TNavigatorFrame::MarkForVisit(int screenId, bool needed) {
    TNavigatorItem* item = fData ? fData->FindItemByScreenID(screenId) : nullptr;
    if (!item) return false;
    item->fNeedsVisit = needed;
    const QString note = needed ? QStringLiteral("This topic must be visited again") : QString();
    for (QTreeWidgetItem* node : NodesInOrder(navigatorTreeView()))
        if (ItemOf(node) == item) {
            node->setToolTip(0, note);
            node->setData(0, Qt::AccessibleDescriptionRole, note);
        }
    navigatorTreeView()->viewport()->update();
    return true;
}

bool TNavigatorFrame::IsHighlighted(const QTreeWidgetItem* node) const {
    const TNavigatorItem* item = ItemOf(node);
    if (!item || !item->fSelected) return false;
    if (const auto* topic = dynamic_cast<const TNavigatorTopic*>(item)) {
        // A topic whose item is selected shows the highlight only while the item is hidden.
        for (const auto& child : topic->fItems)
            if (child->fSelected) return !node->isExpanded();
    }
    return true;
}

QRect TNavigatorFrame::CaptionRect(const QTreeWidgetItem* node, const QRect& itemRect) const {
    const TNavigatorItem* item = ItemOf(node);
    const int right = std::max(navigatorTreeView()->viewport()->width() - 1, itemRect.right());
    int left = itemRect.left() + kTextMargin;
    if (item && !dynamic_cast<const TNavigatorTopic*>(item) && !item->fQuestionNumber.isEmpty())
        left = itemRect.left() + kNumberWidth + kTextMargin;
    return QRect(left, itemRect.top(), std::max(0, right - kTextMargin - left + 1),
                 itemRect.height());
}

int TNavigatorFrame::CaptionFlags() {
    return Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
}

int TNavigatorFrame::RowHeight(const QTreeWidgetItem* node, const QFontMetrics& metrics) const {
    const int singleLine = std::max(metrics.height() + 4, kArrowSize + 6);
    const TNavigatorItem* item = ItemOf(node);
    if (!item) return singleLine;
    // The item rectangle starts right of the indent; roots are indented too.
    const TNavigatorTreeView* tree = navigatorTreeView();
    int depth = tree->rootIsDecorated() ? 1 : 0;
    for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        ++depth;
    const int itemLeft = depth * tree->indentation();
    const QRect caption = CaptionRect(
        node, QRect(itemLeft, 0, std::max(1, tree->viewport()->width() - itemLeft), singleLine));
    if (caption.width() <= 0) return singleLine;
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, caption.width(), 0x10000), CaptionFlags(), item->fCaption);
    return std::max(singleLine, needed.height() + 6);
}

void TNavigatorFrame::navigatorTreeViewCustomDrawItem(QPainter* painter,
                                                      const QStyleOptionViewItem& option,
                                                      QTreeWidgetItem* node) const {
    const TNavigatorItem* item = ItemOf(node);
    if (!item) return;
    const TNavigatorTreeView* tree = navigatorTreeView();
    const QRect row(0, option.rect.top(), std::max(tree->viewport()->width(), option.rect.right()),
                    option.rect.height());
    const int textLeft = option.rect.left();
    const bool highlighted = IsHighlighted(node);
    // A topic to visit again is drawn in dark red and italics.
    const QColor textColor = highlighted         ? QColor(Qt::white)
                             : item->fNeedsVisit ? QColor(160, 0, 0)
                                                 : QColor(Qt::black);

    painter->save();
    painter->setClipRect(row);
    painter->fillRect(row,
                      highlighted ? QColor(Qt::black) : TCustomNavigatorData::NavigatorColor());
    painter->setPen(Qt::white);
    painter->drawLine(row.left(), row.top(), row.right(), row.top());
    painter->drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    // The keyboard's cursor, where Enter goes, is framed while the tree has the focus.
    if (!highlighted && tree->hasFocus() && tree->currentItem() == node) {
        painter->setPen(QPen(Qt::black, 2));
        painter->drawRect(row.adjusted(1, 1, -1, -1));
    }
    QFont font = option.font;
    font.setItalic(item->fNeedsVisit);
    painter->setFont(font);
    painter->setPen(textColor);

    const auto* topic = dynamic_cast<const TNavigatorTopic*>(item);
    if (topic) {
        if (!topic->fItems.empty()) {
            const bool expanded = node->isExpanded();
            const int index = expanded ? (highlighted ? 3 : 2) : (highlighted ? 1 : 0);
            const int x = (row.height() - kArrowSize) / 2 + textLeft - kNumberWidth + kTextMargin;
            const int y = row.top() + (row.height() - kArrowSize) / 2;
            painter->drawPixmap(x, y, fArrowImages.value(index));
        }
    } else if (!item->fQuestionNumber.isEmpty()) {
        const int numberRight = textLeft + kNumberWidth + kTextMargin;
        painter->drawText(QRect(row.left(), row.top(), numberRight - row.left(), row.height()),
                          Qt::AlignRight | Qt::AlignVCenter,
                          item->fQuestionNumber + QLatin1String(" - "));
    }
    painter->drawText(CaptionRect(node, option.rect), CaptionFlags(), item->fCaption);
    painter->restore();
}
