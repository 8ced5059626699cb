#include "controls/xgrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "controls/core/column_hints.h"
#include "store/dialogs.h"

namespace {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QString& text) {
    return text.toLatin1().toStdString();
}

int ButtonWidth(const QWidget* widget) {
    return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

// A cell button: a raised bevel with a down arrow, or "..." for an ellipsis.
void DrawCellButton(QPainter* painter, const QWidget* widget, const QRect& rect) {
    QStyleOptionButton button;
    button.initFrom(widget);
    button.rect = rect;
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    widget->style()->drawControl(QStyle::CE_PushButtonBevel, &button, painter, widget);
    QStyleOption arrow;
    arrow.initFrom(widget);
    arrow.rect = rect.adjusted(3, 3, -3, -3);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, widget);
}

QString TitleText(const std::string& title) {
    QString text = Latin1(title);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

// The table's cells as a Qt model: model row r is data row r + 1; the titles are the header.
class TXGridModel : public QAbstractTableModel {
public:
    TXGridModel(cgt::CellTable& table, QObject* parent)
        : QAbstractTableModel(parent), table_(table) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
        const QString cell = Latin1(table_.Cell(index.column(), index.row() + 1));
        return role == Qt::DisplayRole && shown ? shown(index.column(), cell) : cell;
    }

    TXGrid::ShownText shown;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return TitleText(table_.Cell(section, 0));
    }

    // Brings the row and column counts in line with the table and repaints every cell.
    void sync() {
        const int cols = table_.ColCount();
        const int rows = table_.RowCount() - 1;
        if (cols > cols_) {
            beginInsertColumns({}, cols_, cols - 1);
            cols_ = cols;
            endInsertColumns();
        } else if (cols < cols_) {
            beginRemoveColumns({}, cols, cols_ - 1);
            cols_ = cols;
            endRemoveColumns();
        }
        if (rows > rows_) {
            beginInsertRows({}, rows_, rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows({}, rows, rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
        if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }

    void cellChanged(int col, int row) {
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, col, col);
        } else if (row - 1 < rows_ && col < cols_) {
            const QModelIndex i = index(row - 1, col);
            emit dataChanged(i, i);
        }
    }

private:
    cgt::CellTable& table_;
    int rows_ = 0;
    int cols_ = 0;
};

// The title row: fixed colour, titles inset 4 and 2 pixels, aligned per column, word-wrapped,
// black; the column hints while the mouse is over it.
class TXGridHeader : public QHeaderView {
public:
    explicit TXGridHeader(TXGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid) {
        setMouseTracking(true);
        setSectionsClickable(false);
        setHighlightSections(false);
        setSectionResizeMode(QHeaderView::Interactive);
        setMinimumSectionSize(0);
    }

    int height_ = 20;

    QSize sizeHint() const override {
        QSize size = QHeaderView::sizeHint();
        size.setHeight(height_);
        return size;
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logical) const override {
        painter->save();
        painter->fillRect(rect, grid_->FixedColor());
        painter->setPen(palette().color(QPalette::Dark));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        const cgt::ColumnRecord& column = grid_->table().Column(logical);
        int align = Qt::AlignLeft;
        if (column.titleAlignment == cgt::taRight) align = Qt::AlignRight;
        if (column.titleAlignment == cgt::taCentre) align = Qt::AlignHCenter;
        painter->setPen(Qt::black);
        painter->drawText(rect.adjusted(4, 2, -4, -2), align | Qt::AlignTop | Qt::TextWordWrap,
                          TitleText(grid_->table().Cell(logical, 0)));
        painter->restore();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        grid_->columnHintAt(this, event->position().toPoint().x());
        QHeaderView::mouseMoveEvent(event);
    }

private:
    TXGrid* grid_;
};

// Data cells: text 3 pixels in (numbers right-aligned), centred vertically, word-wrapped in rows
// of two lines or more;
// fixed columns in the fixed colour with black text; a button image in button columns.
class TXGridDelegate : public QStyledItemDelegate {
public:
    explicit TXGridDelegate(TXGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int col = index.column();
        const cgt::ColumnRecord& column = grid_->table().Column(col);
        const bool fixed = col < grid_->FixedCols();
        painter->save();
        painter->fillRect(option.rect,
                          fixed ? grid_->FixedColor() : option.palette.color(QPalette::Base));
        int buttonWidth = 0;
        if (column.button) {
            buttonWidth = ButtonWidth(grid_);
            QRect button(option.rect.right() - buttonWidth + 1, option.rect.top(), buttonWidth,
                         option.rect.height());
            DrawCellButton(painter, grid_, button);
        }
        const QRect text = option.rect.adjusted(3, 0, -3 - buttonWidth, 0);
        const int align = (column.IsNumber() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        painter->setPen(fixed ? QColor(Qt::black) : option.palette.color(QPalette::Text));
        // A row with room for two lines wraps a long text; a row of one line shows it cut
        // with an ellipsis rather than half of a second line.
        const QFontMetrics metrics(painter->font());
        QString shown = index.data().toString();
        if (text.height() >= 2 * metrics.lineSpacing())
            painter->drawText(text, align | Qt::TextWordWrap, shown);
        else
            painter->drawText(text, align, metrics.elidedText(shown, Qt::ElideRight, text.width()));
        painter->restore();
    }

private:
    TXGrid* grid_;
};

// ---------------------------------------------------------------------------------------
// TPopupListbox

TPopupListbox::TPopupListbox(QWidget* parent) : QListWidget(parent) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clock_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
}

void TPopupListbox::setClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock([] { return QDateTime::currentMSecsSinceEpoch(); });
}

bool TPopupListbox::handleKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (QListWidgetItem* item = currentItem())
            emit itemAccepted(item->text());
        else
            closeUp();
        return true;
    case Qt::Key_Escape:
        search_.clear();
        closeUp();
        return true;
    case Qt::Key_Backspace:
        search_.clear();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        QListWidget::keyPressEvent(event);
        return true;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() == 127) return false;
    const qint64 now = clock_();
    if (now - lastKey_ > kSearchWindowMs) search_.clear();
    lastKey_ = now;
    if (search_.size() < kMaxSearchLength) search_ += text;
    for (int i = 0; i < count(); ++i)
        if (item(i)->text().startsWith(search_, Qt::CaseInsensitive)) {
            setCurrentRow(i);
            break;
        }
    return true;
}

void TPopupListbox::closeUp() {
    search_.clear();
    hide();
}

void TPopupListbox::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event)) QListWidget::keyPressEvent(event);
}

void TPopupListbox::mouseReleaseEvent(QMouseEvent* event) {
    if (QListWidgetItem* item = itemAt(event->position().toPoint())) {
        setCurrentItem(item);
        emit itemAccepted(item->text());
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void TPopupListbox::showEvent(QShowEvent* event) {
    qApp->installEventFilter(this);
    QListWidget::showEvent(event);
}

void TPopupListbox::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    search_.clear();
    QListWidget::hideEvent(event);
    emit closed();
}

bool TPopupListbox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || !isVisible()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget == this || isAncestorOf(widget)) return false;
    closeUp(); // a click outside closes without change
    return widget == dropButton_;
}

// ---------------------------------------------------------------------------------------
// TXGridInplaceEdit

TXGridInplaceEdit::TXGridInplaceEdit(TXGrid* grid)
    : QLineEdit(grid->viewport()), grid_(grid), button_(new QToolButton(this)) {
    setFrame(false);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->hide();
    button_->installEventFilter(this);
    connect(button_, &QToolButton::clicked, this, &TXGridInplaceEdit::buttonClicked);
}

void TXGridInplaceEdit::setButtonKind(int kind) {
    buttonKind_ = kind == cgt::bkPicklist || kind == cgt::bkEllipsis ? kind : 0;
    button_->setArrowType(buttonKind_ == cgt::bkPicklist ? Qt::DownArrow : Qt::NoArrow);
    button_->setText(buttonKind_ == cgt::bkEllipsis ? QStringLiteral("...") : QString());
    button_->setVisible(buttonKind_ != 0);
    setTextMargins(0, 0, buttonKind_ != 0 ? ButtonWidth(this) : 0, 0);
}

void TXGridInplaceEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int width = ButtonWidth(this);
    button_->setGeometry(this->width() - width, 0, width, height());
}

bool TXGridInplaceEdit::eventFilter(QObject* watched, QEvent* event) {
    // Double clicks on the button are ignored.
    return watched == button_ && event->type() == QEvent::MouseButtonDblClick;
}

void TXGridInplaceEdit::buttonClicked() {
    if (buttonKind_ == cgt::bkPicklist) {
        if (grid_->picklist()->isVisible())
            grid_->picklist()->closeUp();
        else
            grid_->DropDown();
    } else if (buttonKind_ == cgt::bkEllipsis) {
        emit grid_->OnElippsisclicked(grid_->Col(), grid_->Row());
    }
}

bool TXGridInplaceEdit::event(QEvent* event) {
    // Tab moves between cells, not between controls.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TXGridInplaceEdit::keyPressEvent(QKeyEvent* event) {
    TPopupListbox* list = grid_->picklist();
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (list->isVisible()) {
        if (alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
            list->closeUp();
            return;
        }
        if (list->handleKey(event)) return;
    }
    if (grid_->handleGridKey(event)) return;

    cgt::CellTable& table = grid_->table();
    const QString text = event->text();
    const bool control = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (text.size() == 1 && !control && text.at(0).unicode() > 32 && text.at(0).unicode() != 127) {
        const char16_t code = text.at(0).unicode();
        if (code > 255) {
            cgt::Dialogs().Beep();
            return;
        }
        const char ch = static_cast<char>(code);
        const cgt::KeyFilterResult r =
            table.FilterKey(grid_->Col(), Bytes(this->text()), hasSelectedText(), ch);
        if (r.verdict == cgt::KeyVerdict::Discard) return;
        if (r.verdict == cgt::KeyVerdict::Beep) {
            cgt::Dialogs().Beep();
            return;
        }
        table.SetModified(true);
        if (r.ch != ch) {
            insert(QString(QChar(static_cast<unsigned char>(r.ch))));
            return;
        }
    } else if (text == QLatin1String(" ")) {
        if (table.FilterKey(grid_->Col(), Bytes(this->text()), hasSelectedText(), ' ').verdict ==
            cgt::KeyVerdict::Discard)
            return;
    }
    QLineEdit::keyPressEvent(event);
}

void TXGridInplaceEdit::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (grid_->ColumnType(grid_->Col()) == cgt::ctNumber) emit grid_->totalsChanged();
}

void TXGridInplaceEdit::focusInEvent(QFocusEvent* event) {
    grid_->focusReason_ = event->reason();
    QLineEdit::focusInEvent(event);
}

void TXGridInplaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    TPopupListbox* list = grid_->picklist();
    if (!list->isVisible()) return;
    if (event->reason() == Qt::ActiveWindowFocusReason) {
        // Some window systems activate the list itself: that is no loss of focus.
        const QWidget* active = QApplication::activeWindow();
        if (!active || active == list) return;
    }
    list->closeUp();
}

// ---------------------------------------------------------------------------------------
// TXGrid

TXGrid::TXGrid(QWidget* parent)
    : QTableView(parent), model_(new TXGridModel(table_, this)), header_(new TXGridHeader(this)),
      editor_(nullptr), popup_(nullptr) {
    fixedColor_ = palette().color(QPalette::Button);
    setModel(model_);
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    setItemDelegate(new TXGridDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);

    table_.SetRowCount(5);
    colWidths_.assign(static_cast<std::size_t>(table_.ColCount()), 64);

    editor_ = new TXGridInplaceEdit(this);
    setFocusProxy(editor_);
    popup_ = new TPopupListbox(this);
    popup_->setDropButton(editor_->button());

    connect(editor_, &QLineEdit::textChanged, this, &TXGrid::editorTextChanged);
    connect(popup_, &TPopupListbox::itemAccepted, this, &TXGrid::acceptPicklistItem);
    connect(popup_, &TPopupListbox::closed, this, [this] {
        if (!focusWithin_) return;
        window()->activateWindow();
        editor_->setFocus(Qt::PopupFocusReason);
    });
    connect(qApp, &QApplication::focusChanged, this, &TXGrid::focusChanged);
    auto geometry = [this] {
        placeEditor();
        emit totalsChanged();
    };
    connect(header_, &QHeaderView::sectionResized, this, geometry);
    connect(header_, &QHeaderView::sectionMoved, this, geometry);
    connect(verticalHeader(), &QHeaderView::sectionResized, this, geometry);

    // The fixed columns: a second view of the same cells over the left edge, showing only those
    // columns, with the same widths, row heights, title row and vertical scroll position. It
    // takes neither focus nor clicks; the grid's own columns scroll under it.
    fixedView_ = new QTableView(this);
    fixedView_->setObjectName(QStringLiteral("fixedColumns"));
    fixedView_->setModel(model_);
    fixedHeader_ = new TXGridHeader(this);
    fixedView_->setHorizontalHeader(fixedHeader_);
    fixedView_->verticalHeader()->hide();
    fixedView_->verticalHeader()->setMinimumSectionSize(1);
    fixedView_->verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    fixedView_->setItemDelegate(new TXGridDelegate(this));
    fixedView_->setSelectionMode(QAbstractItemView::NoSelection);
    fixedView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fixedView_->setFocusPolicy(Qt::NoFocus);
    fixedView_->setFrameShape(QFrame::NoFrame);
    fixedView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedView_->viewport()->installEventFilter(this);
    fixedView_->hide();
    connect(verticalHeader(), &QHeaderView::sectionResized, fixedView_,
            [this](int row, int, int size) { fixedView_->setRowHeight(row, size); });
    connect(header_, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (col >= fixedCols_) return;
        fixedView_->setColumnWidth(col, size);
        placeFixedView();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixedView_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(fixedView_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);

    table_.onPicklistDropdown = [this](int col, int row, cgt::StringList& list) {
        QStringList items;
        for (const auto& item : list)
            items << Latin1(item);
        emit OnPicklistDropdown(col, row, &items);
        list.clear();
        for (const auto& item : items)
            list.push_back(Bytes(item));
    };

    applyTitleHeight(fontMetrics().height() * titleLines_ + 4);
    syncModel();
    syncEditor();
}

TXGrid::~TXGrid() {
    disconnect(qApp, &QApplication::focusChanged, this, &TXGrid::focusChanged);
    table_.onPicklistDropdown = nullptr;
}

void TXGrid::setColCount(int count) {
    table_.SetColCount(count);
    colWidths_.resize(static_cast<std::size_t>(table_.ColCount()), 64);
    col_ = std::min(col_, table_.ColCount() - 1);
    fixedCols_ = std::min(fixedCols_, table_.ColCount() - 1);
    syncModel();
    syncEditor();
}

void TXGrid::setRowCount(int count) {
    table_.SetRowCount(count);
    row_ = std::min(row_, table_.RowCount() - 1);
    syncModel();
    syncEditor();
}

void TXGrid::setFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, table_.ColCount() - 1);
    // The scrolling columns move by pixels so that a cell can stand just right of the fixed ones.
    setHorizontalScrollMode(fixedCols_ > 0 ? ScrollPerPixel : ScrollPerItem);
    syncFixedView();
    if (col_ < fixedCols_) {
        const int first = table_.FirstTabStop(fixedCols_);
        col_ = first >= 0 ? first : fixedCols_;
        syncEditor();
        placeEditor();
    }
    viewport()->update();
}

void TXGrid::setDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(height, 1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    fixedView_->verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    for (int r = 0; r < model_->rowCount(); ++r)
        verticalHeader()->resizeSection(r, defaultRowHeight_);
    placeEditor();
    emit totalsChanged();
}

QStringList TXGrid::Display() const {
    QStringList lines;
    for (const auto& line : table_.Display())
        lines << Latin1(line);
    return lines;
}

void TXGrid::SetColumns(const cgt::StringList& display, std::span<const int> widths) {
    QStringList lines;
    for (const std::string& line : display)
        lines << Latin1(line);
    setColCount(static_cast<int>(display.size()));
    setDisplay(lines);
    for (std::size_t col = 0; col < widths.size(); ++col)
        setColWidths(static_cast<int>(col), widths[col]);
}

void TXGrid::setDisplay(const QStringList& lines) {
    cgt::StringList bytes;
    for (const auto& line : lines)
        bytes.push_back(Bytes(line));
    table_.SetDisplay(bytes);
    showTableMessages();
    const int first = table_.FirstTabStop(fixedCols_);
    if (!table_.IsTabStop(col_) && first >= 0) col_ = first;
    syncModel();
    syncEditor();
    header_->viewport()->update();
}

void TXGrid::setTitleLines(int lines) {
    titleLines_ = std::clamp(lines, 0, 255);
    applyTitleHeight(fontMetrics().height() * titleLines_ + 4);
}

void TXGrid::applyTitleHeight(int height) {
    header_->height_ = std::max(height, 0);
    header_->updateGeometry();
    if (fixedHeader_) {
        fixedHeader_->height_ = header_->height_;
        fixedHeader_->updateGeometry();
    }
    updateGeometries();
    placeEditor();
}

int TXGrid::titleRowHeight() const {
    return header_->height_;
}

void TXGrid::setFixedColor(const QColor& color) {
    fixedColor_ = color;
    viewport()->update();
    header_->viewport()->update();
    fixedView_->viewport()->update();
    fixedHeader_->viewport()->update();
}

void TXGrid::setShowColHints(bool on) {
    showColHints_ = on;
    if (!on) {
        currentHint_ = 0;
        header_->setToolTip(QString());
        fixedHeader_->setToolTip(QString());
    }
}

void TXGrid::columnHintAt(QHeaderView* header, int x) {
    if (!showColHints_) return;
    const int col = header->logicalIndexAt(x);
    const int hint = col >= 0 ? table_.Column(col).hint : 0;
    if (hint == currentHint_ && header->toolTip().isEmpty() == (hint == 0)) return;
    currentHint_ = hint;
    header->setToolTip(hint != 0 ? Latin1(cgt::ColumnHintText(hint)) : QString());
}

QString TXGrid::Cells(int col, int row) const {
    return Latin1(table_.Cell(col, row));
}

void TXGrid::setShownText(ShownText shown) {
    model_->shown = std::move(shown);
    model_->sync();
}

QString TXGrid::ShownCell(int col, int row) const {
    return model_->data(model_->index(row - 1, col), Qt::DisplayRole).toString();
}

void TXGrid::setCells(int col, int row, const QString& text) {
    table_.SetCell(col, row, Bytes(text));
    cellChanged(col, row);
    if (col == col_ && row == row_) syncEditor();
    emit totalsChanged();
}

int TXGrid::colWidths(int col) const {
    if (col < 0 || col >= static_cast<int>(colWidths_.size())) return 0;
    return colWidths_[static_cast<std::size_t>(col)];
}

void TXGrid::setColWidths(int col, int width) {
    if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
    colWidths_[static_cast<std::size_t>(col)] = width;
    applyColumnWidths();
}

void TXGrid::applyColumnWidths() {
    for (int c = 0; c < static_cast<int>(colWidths_.size()) && c < model_->columnCount(); ++c) {
        const int width = colWidths_[static_cast<std::size_t>(c)];
        setColumnHidden(c, width < 0);
        if (width >= 0) setColumnWidth(c, width);
    }
    syncFixedView();
    placeEditor();
}

void TXGrid::syncFixedView() {
    if (!fixedView_) return;
    for (int c = 0; c < model_->columnCount(); ++c) {
        const bool shown = c < fixedCols_ && !isColumnHidden(c);
        fixedView_->setColumnHidden(c, !shown);
        if (shown) fixedView_->setColumnWidth(c, columnWidth(c));
    }
    fixedView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    placeFixedView();
}

void TXGrid::placeFixedView() {
    if (!fixedView_) return;
    const int width = fixedWidth();
    if (fixedCols_ <= 0 || width <= 0) {
        fixedView_->hide();
        return;
    }
    const QRect area = viewport()->geometry();
    const int top = header_->isHidden() ? area.top() : header_->geometry().top();
    fixedView_->setGeometry(area.left(), top, std::min(width, area.width()),
                            area.bottom() - top + 1);
    fixedView_->show();
    fixedView_->raise();
}

int TXGrid::fixedWidth() const {
    int width = 0;
    for (int c = 0; c < fixedCols_ && c < model_->columnCount(); ++c)
        if (!isColumnHidden(c)) width += columnWidth(c);
    return width;
}

int TXGrid::columnLeft(int col) const {
    if (col >= fixedCols_) return columnViewportPosition(col);
    int left = 0;
    for (int c = 0; c < col; ++c)
        if (!isColumnHidden(c)) left += columnWidth(c);
    return left;
}

void TXGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (fixedCols_ <= 0 || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    QScrollBar* bar = horizontalScrollBar();
    const int before = bar->value();
    QTableView::scrollTo(index, hint);
    if (index.column() < fixedCols_) {
        bar->setValue(before); // the fixed columns are always in view
        return;
    }
    const int hidden = fixedWidth() - visualRect(index).left();
    if (hidden > 0) bar->setValue(bar->value() - hidden);
}

bool TXGrid::eventFilter(QObject* watched, QEvent* event) {
    if (fixedView_ && watched == fixedView_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true; // the fixed cells are not entered by a click
        default:
            break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

int TXGrid::rowHeights(int row) const {
    if (row == 0) return titleRowHeight();
    return rowHeight(row - 1);
}

void TXGrid::setRowHeights(int row, int height) {
    if (row == 0)
        applyTitleHeight(height);
    else if (row > 0 && row < RowCount())
        verticalHeader()->resizeSection(row - 1, height);
}

void TXGrid::TableEdited() {
    syncModel();
    syncEditor();
    viewport()->update();
}

void TXGrid::syncModel() {
    model_->sync();
    applyColumnWidths();
    for (int r = 0; r < model_->rowCount(); ++r)
        if (verticalHeader()->sectionSize(r) == 0)
            verticalHeader()->resizeSection(r, defaultRowHeight_);
    placeEditor();
    emit totalsChanged();
}

void TXGrid::syncEditor() {
    const cgt::ColumnRecord& column = table_.Column(col_);
    syncing_ = true;
    editor_->setText(Cells(col_, row_));
    syncing_ = false;
    editor_->setReadOnly(column.skipped || column.readOnly);
    editor_->setButtonKind(column.button ? column.buttonKind : 0);
}

void TXGrid::placeEditor() {
    if (!editor_) return;
    const QRect rect = visualRect(model_->index(row_ - 1, col_));
    editor_->setGeometry(rect.isValid() ? rect.adjusted(0, 0, -1, -1) : QRect());
    editor_->show();
}

void TXGrid::cellChanged(int col, int row) {
    model_->cellChanged(col, row);
}

void TXGrid::showTableMessages() {
    for (const std::string& message : table_.TakeMessages()) {
        cgt::Dialogs().Beep();
        cgt::MsgBox(message, cgt::mkError, cgt::mbOK);
    }
}

void TXGrid::editorTextChanged(const QString& text) {
    if (syncing_) return;
    table_.SetCell(col_, row_, Bytes(text));
    cellChanged(col_, row_);
}

bool TXGrid::checkCurrent(int* aCol, int* aRow) {
    checking_ = true;
    const cgt::CellCheck result = table_.CheckCell(col_, row_);
    showTableMessages();
    checking_ = false;
    cellChanged(col_, row_);
    syncEditor();
    emit totalsChanged();
    if (result == cgt::CellCheck::Failed) {
        if (focusWithin_) editor_->setFocus();
        return false;
    }
    bool enter = true;
    emit OnExitCell(col_, row_, aCol, aRow, &enter);
    return enter;
}

bool TXGrid::MoveTo(int col, int row) {
    return moveTo(col, row, true);
}

bool TXGrid::moveTo(int col, int row, bool check) {
    const int cols = table_.ColCount();
    col = std::clamp(col, 0, cols - 1);
    row = std::clamp(row, 1, table_.RowCount() - 1);
    if (check) {
        int aCol = col, aRow = row;
        if (!checkCurrent(&aCol, &aRow)) return false;
        col = std::clamp(aCol, 0, cols - 1);
        row = std::clamp(aRow, 1, table_.RowCount() - 1);
    }
    emit OnEnterCell(col, row);
    for (int n = 0; n < cols && !table_.IsTabStop(col); ++n)
        if (++col >= cols) col = std::min(fixedCols_, cols - 1);
    col_ = col;
    row_ = row;
    if (table_.Column(col).HasEnforcedPicklist()) table_.RefreshPicklist(col, row);
    table_.StripCell(col, row);
    cellChanged(col, row);
    syncEditor();
    scrollTo(model_->index(row - 1, col));
    placeEditor();
    editor_->selectAll();
    return true;
}

void TXGrid::addRow() {
    table_.AppendRow();
    syncModel();
}

void TXGrid::moveByTab(bool forward) {
    const int cols = table_.ColCount();
    const int rows = table_.RowCount();
    int col = col_, row = row_;
    for (int n = 0; n <= cols * 2; ++n) {
        if (forward) {
            if (++col >= cols) {
                col = fixedCols_;
                if (++row >= rows) row = 1;
            }
        } else {
            if (--col < fixedCols_) {
                col = cols - 1;
                if (--row < 1) row = rows - 1;
            }
        }
        if (table_.IsTabStop(col) || (col == col_ && row == row_)) break;
    }
    MoveTo(col, row);
}

bool TXGrid::handleGridKey(QKeyEvent* event) {
    int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    emit OnKeyDown(&key, modifiers);
    if (key == 0) return true;
    const bool alt = modifiers & Qt::AltModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const int lastRow = table_.RowCount() - 1;
    const cgt::ColumnRecord& column = table_.Column(col_);
    const bool dropDown = column.button && column.buttonKind == cgt::bkPicklist;

    switch (key) {
    case Qt::Key_Backtab:
        moveByTab(false);
        return true;
    case Qt::Key_Tab:
        if (alt) return false;
        if (shift) {
            moveByTab(false);
            return true;
        }
        if (rowAutoInc_ && row_ == lastRow && col_ == table_.LastTabStop()) addRow();
        moveByTab(true);
        return true;
    case Qt::Key_Down:
        if (alt) {
            if (dropDown) DropDown();
            return true;
        }
        if (rowAutoInc_ && row_ == lastRow) addRow();
        if (row_ < table_.RowCount() - 1) MoveTo(col_, row_ + 1);
        return true;
    case Qt::Key_Up:
        if (alt) {
            if (dropDown) DropDown();
            return true;
        }
        if (row_ > 1) MoveTo(col_, row_ - 1);
        return true;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        const int page = std::max(1, viewport()->height() / std::max(1, defaultRowHeight_) - 1);
        MoveTo(col_, std::clamp(row_ + (key == Qt::Key_PageDown ? page : -page), 1, lastRow));
        return true;
    }
    case Qt::Key_Left:
        if (editor_->cursorPosition() > 0 || editor_->hasSelectedText()) return false;
        if (col_ > fixedCols_) MoveTo(col_ - 1, row_);
        return true;
    case Qt::Key_Right:
        if (editor_->cursorPosition() < editor_->text().size() || editor_->hasSelectedText())
            return false;
        if (col_ + 1 < table_.ColCount()) MoveTo(col_ + 1, row_);
        return true;
    case Qt::Key_Insert:
        setModified(true);
        if (!ctrl) return false;
        InsertRowAt(row_);
        return true;
    case Qt::Key_Delete:
        if (!ctrl) return false;
        deleteRowAsked();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl && editor_->buttonKind() == cgt::bkEllipsis) {
            emit OnElippsisclicked(col_, row_);
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        setModified(true);
        return false;
    default:
        return false;
    }
}

void TXGrid::deleteRowAsked() {
    if (doNotDelete_) {
        cgt::MsgBox(std::string(cgt::kRowDeletionRefused), cgt::mkError, cgt::mbOK);
        return;
    }
    if (table_.RowCount() <= 1) return;
    if (cgt::MsgBox(std::string(cgt::kDeleteRowQuestion), cgt::mkConfirmation,
                    cgt::mbOK | cgt::mbCancel) != cgt::mrOK)
        return;
    if (table_.RowCount() == 2) table_.AppendRow(); // the grid keeps an empty row
    DeleteRow(row_);
    setModified(true);
}

void TXGrid::keyPressEvent(QKeyEvent* event) {
    if (!handleGridKey(event)) QTableView::keyPressEvent(event);
}

void TXGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || index.column() < fixedCols_) return;
    const bool entering = !focusWithin_;
    if (entering) editor_->setFocus(Qt::MouseFocusReason);
    // Entering by a click takes the clicked cell; the first move checks nothing.
    moveTo(index.column(), index.row() + 1, !entering);
    editor_->setFocus(Qt::MouseFocusReason);
}

void TXGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void TXGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
    emit totalsChanged();
}

void TXGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFixedView();
    placeEditor();
    emit totalsChanged();
}

void TXGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeFixedView();
    placeEditor();
}

void TXGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyTitleHeight(fontMetrics().height() * titleLines_ + 4);
        if (popup_) popup_->setFont(font());
    }
}

bool TXGrid::isWithin(const QWidget* widget) const {
    return widget && (widget == this || isAncestorOf(widget) || widget == popup_);
}

void TXGrid::focusChanged(QWidget* /*old*/, QWidget* now) {
    if (checking_) return;
    if (isWithin(now)) {
        if (!focusWithin_) {
            focusWithin_ = true;
            enterGrid();
        }
    } else if (focusWithin_ && now && now->window() == window()) {
        focusWithin_ = false;
        leaveGrid();
    }
}

void TXGrid::enterGrid() {
    if (focusReason_ == Qt::MouseFocusReason) return; // the click chooses the cell
    const int first = table_.FirstTabStop(fixedCols_);
    int col = first >= 0 ? first : fixedCols_;
    int row = 1;
    if (enterCol_ >= 0) {
        col = std::exchange(enterCol_, -1);
        row = enterRow_;
    }
    QMetaObject::invokeMethod(
        this,
        [this, col, row] {
            moveTo(col, row, false);
            if (focusWithin_) editor_->setFocus();
        },
        Qt::QueuedConnection);
}

void TXGrid::FocusCell(int col, int row) {
    if (focusWithin_) {
        moveTo(col, row, false);
        editor_->setFocus();
        return;
    }
    enterCol_ = col;
    enterRow_ = row;
    setFocus(Qt::OtherFocusReason);
}

void TXGrid::leaveGrid() {
    if (popup_->isVisible()) popup_->closeUp();
    checking_ = true;
    bool ok = table_.CheckCell(col_, row_) == cgt::CellCheck::Passed;
    showTableMessages();
    checking_ = false;
    if (ok) {
        int aCol = col_, aRow = row_;
        bool enter = true;
        emit OnExitCell(col_, row_, &aCol, &aRow, &enter);
        ok = enter;
    }
    if (!ok) table_.SetCell(col_, row_, std::string());
    cellChanged(col_, row_);
    syncEditor();
    emit totalsChanged();
}

void TXGrid::DropDown() {
    const cgt::ColumnRecord& column = table_.Column(col_);
    if (!column.button || column.buttonKind != cgt::bkPicklist) return;
    table_.RefreshPicklist(col_, row_);
    const cgt::ColumnRecord& current = table_.Column(col_);
    popup_->clear();
    popup_->setFont(font());
    const QFontMetrics metrics(font());
    const int itemHeight = std::max(11, metrics.height() + 2);
    int widest = 0;
    const QString cell = Cells(col_, row_);
    int preselect = -1;
    for (const auto& entry : current.picklist) {
        auto* item = new QListWidgetItem(Latin1(entry));
        item->setSizeHint(QSize(0, itemHeight));
        popup_->addItem(item);
        widest = std::max(widest, metrics.horizontalAdvance(item->text()));
        if (preselect < 0 && item->text().startsWith(cell)) preselect = popup_->count() - 1;
    }
    if (popup_->count() == 0) return;
    popup_->setCurrentRow(preselect);
    const int rows = std::min(popup_->count(), current.picklistRows > 0 ? current.picklistRows : 8);
    const int frame = popup_->frameWidth() * 2;
    const QSize size(std::max(editor_->width(), widest + 10) + frame, rows * itemHeight + frame);
    QPoint pos = editor_->mapToGlobal(QPoint(0, editor_->height()));
    const QScreen* screen = editor_->screen();
    if (screen && pos.y() + size.height() > screen->availableGeometry().bottom())
        pos.setY(editor_->mapToGlobal(QPoint(0, 0)).y() - size.height());
    popup_->setGeometry(QRect(pos, size));
    popup_->show();
    popup_->raise();
}

void TXGrid::acceptPicklistItem(const QString& item) {
    popup_->closeUp();
    std::string text = Bytes(item);
    const int width = table_.Column(col_).width;
    if (width >= 0 && text.size() > static_cast<std::size_t>(width))
        text.resize(static_cast<std::size_t>(width));
    table_.SetCell(col_, row_, text);
    cellChanged(col_, row_);
    syncEditor();
    setModified(true);
    if (col_ + 1 < table_.ColCount()) {
        MoveTo(col_ + 1, row_);
    } else {
        if (row_ == table_.RowCount() - 1) addRow();
        MoveTo(fixedCols_, row_ + 1);
    }
}

void TXGrid::LoadRows(const cgt::StringList* list) {
    table_.LoadRows(list);
    row_ = std::min(row_, table_.RowCount() - 1);
    syncModel();
    syncEditor();
}

void TXGrid::ClearRows() {
    LoadRows(nullptr);
    viewport()->update();
}

void TXGrid::SortRows(const QString& keys) {
    table_.SortRows(Bytes(keys));
    syncModel();
    syncEditor();
}

void TXGrid::InsertRowAt(int row) {
    table_.InsertRowAt(row);
    syncModel();
    syncEditor();
}

void TXGrid::DeleteRow(int row) {
    table_.DeleteRow(row);
    row_ = std::min(row_, table_.RowCount() - 1);
    syncModel();
    syncEditor();
}

QString TXGrid::ColumnTotalText(int col) const {
    return Latin1(table_.ColumnTotalText(col));
}

QString TXGrid::ShownColumnTotal(int col) const {
    const QString total = ColumnTotalText(col);
    return model_->shown ? model_->shown(col, total) : total;
}

void TXGrid::LockColumn(int col) {
    table_.LockColumn(col);
    syncEditor();
}

void TXGrid::UnlockColumn(int col) {
    table_.UnlockColumn(col);
    syncEditor();
}

void TXGrid::SetColumnReadOnly(int col, bool readOnly) {
    table_.SetColumnReadOnly(col, readOnly);
    syncEditor();
}

void TXGrid::ScaleBy(int m, int d) {
    if (d == 0) return;
    for (int& width : colWidths_)
        if (width != -1) width = width * m / d;
    applyColumnWidths();
    setDefaultRowHeight(defaultRowHeight_ * m / d);
    setGeometry(x(), y() * m / d, width() * m / d, height() * m / d);
    QFont scaled = font();
    if (scaled.pointSizeF() > 0)
        scaled.setPointSizeF(scaled.pointSizeF() * m / d);
    else if (scaled.pixelSize() > 0)
        scaled.setPixelSize(scaled.pixelSize() * m / d);
    const int titleHeight = (m * fontMetrics().height() / d + 4) * titleLines_;
    setFont(scaled);
    applyTitleHeight(titleHeight);
}

// ---------------------------------------------------------------------------------------
// TXGridTotals

TXGridTotals::TXGridTotals(QWidget* parent) : QWidget(parent) {}

void TXGridTotals::setXGrid(const QString& gridName) {
    gridName_ = gridName;
    resolveGrid();
}

void TXGridTotals::resolveGrid() {
    if (gridName_.isEmpty() || (grid_ && grid_->objectName() == gridName_)) return;
    if (auto* grid = window()->findChild<TXGrid*>(gridName_)) setGrid(grid);
}

void TXGridTotals::setGrid(TXGrid* grid) {
    if (grid_) {
        grid_->removeEventFilter(this);
        disconnect(grid_, nullptr, this, nullptr);
        grid_->table().SetHasTotalsRow(false);
    }
    grid_ = grid;
    if (!grid) return;
    gridName_ = grid->objectName();
    grid->installEventFilter(this);
    connect(grid, &TXGrid::totalsChanged, this, [this] {
        place();
        update();
    });
    grid->table().SetHasTotalsRow(true);
    setFont(grid->font());
    place();
    update();
}

void TXGridTotals::place() {
    if (!grid_) return;
    QWidget* parent = parentWidget();
    QPoint topLeft = grid_->pos();
    if (parent && grid_->parentWidget() != parent)
        topLeft = parent->mapFromGlobal(grid_->mapToGlobal(QPoint(0, 0)));
    setGeometry(topLeft.x(), topLeft.y() + grid_->height() - 1, grid_->width() - 2,
                grid_->DefaultRowHeight() + 2);
    setHidden(grid_->isHidden());
    raise();
}

QString TXGridTotals::displayedText(int col) const {
    if (!grid_ || grid_->ColumnType(col) != cgt::ctNumber || grid_->ColumnNoTotal(col)) return {};
    return grid_->ShownColumnTotal(col);
}

int TXGridTotals::columnX(int col) const {
    return grid_->viewport()->geometry().x() + grid_->columnLeft(col);
}

QRect TXGridTotals::visibleArea(int col) const {
    const QRect viewport = grid_->viewport()->geometry();
    const int left = viewport.x() + (col < grid_->FixedCols() ? 0 : grid_->fixedWidth());
    const int right = viewport.x() + std::min(viewport.width(), width() - viewport.x());
    return QRect(left, 0, std::max(right - left, 0), height());
}

QRect TXGridTotals::textRect(int col) const {
    if (!grid_ || col < 0 || col >= grid_->ColCount() || grid_->isColumnHidden(col)) return {};
    const QRect cell(columnX(col), 0, grid_->columnWidth(col), height());
    return cell.intersected(visibleArea(col)).adjusted(0, 0, -3, 0);
}

void TXGridTotals::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (grid_) {
        painter.setPen(palette().color(QPalette::Mid));
        for (int c = 0; c < grid_->ColCount(); ++c) {
            if (grid_->isColumnHidden(c)) continue;
            const int x = columnX(c) + grid_->columnWidth(c) - 1;
            const QRect visible = visibleArea(c);
            if (x >= visible.left() && x <= visible.right()) painter.drawLine(x, 0, x, height());
        }
        painter.setPen(palette().color(QPalette::Text));
        for (int c = 0; c < grid_->ColCount(); ++c) {
            const QString text = displayedText(c);
            const QRect r = textRect(c);
            if (!text.isEmpty() && r.width() > 0)
                painter.drawText(r, Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
    QPen frame(QColor(128, 128, 128));
    frame.setWidth(3);
    frame.setJoinStyle(Qt::MiterJoin);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TXGridTotals::showEvent(QShowEvent* event) {
    resolveGrid();
    place();
    QWidget::showEvent(event);
}

bool TXGridTotals::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            place();
            update();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
