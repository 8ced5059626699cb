#include "controls/xgrid_widget.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "controls/core/column_hints.h"
#include "controls/popup_listbox.h"
#include "controls/xgrid_delegate.h"
#include "controls/xgrid_fixed_view.h"
#include "controls/xgrid_header.h"
#include "controls/xgrid_inplace_edit.h"
#include "controls/xgrid_text.h"
#include "store/dialogs.h"

using cgt::grid::Bytes;
using cgt::grid::Latin1;

TXGrid::TXGrid(QWidget* parent)
    : QTableView(parent), model_(new TXGridModel(table_, this)), header_(new TXGridHeader(this)),
      editor_(nullptr), popup_(nullptr) {
    fixedColor_ = palette().color(QPalette::Button);
    setModel(model_);
    model_->hidden = [this](int col) { return isColumnHidden(col); };
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
    popup_->setDropButton(editor_->cellButton());

    connect(editor_, &QLineEdit::textChanged, this, &TXGrid::editorTextChanged);
    connect(editor_, &TXGridInplaceEdit::ellipsisClicked, this,
            [this] { emit OnElippsisclicked(col_, row_); });
    connect(editor_, &TXGridInplaceEdit::numberKeyReleased, this, &TXGrid::totalsChanged);
    connect(editor_, &TXGridInplaceEdit::focusedBy, this,
            [this](Qt::FocusReason reason) { focusReason_ = reason; });
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

    fixedView_ = new TXGridFixedView(this);

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
    if (fixedView_) {
        fixedView_->titleRow()->height_ = header_->height_;
        fixedView_->titleRow()->updateGeometry();
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
    fixedView_->titleRow()->viewport()->update();
}

void TXGrid::setShowColHints(bool on) {
    showColHints_ = on;
    if (!on) {
        currentHint_ = 0;
        header_->setToolTip(QString());
        fixedView_->titleRow()->setToolTip(QString());
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
    if (fixedView_) fixedView_->syncColumns();
}

void TXGrid::placeFixedView() {
    if (fixedView_) fixedView_->place();
}

QTableView* TXGrid::fixedView() const {
    return fixedView_;
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
    editor_->setAccessibleName(model_->CellName(col_, row_));
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
    // The pick is checked as when the cell is left, and the cursor stays in it: Tab goes on
    // from there, as after typing.
    MoveTo(col_, row_);
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
