#pragma once
// The worksheet grid of the question screens: a view and editor of a cgt::CellTable. It checks
// and formats a cell when the user leaves it, adds rows as the user types past the last one,
// deletes rows on request, drops down picklists and raises ellipsis clicks.

#include <QColor>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <span>
#include <vector>

#include "controls/core/cell_table.h"
#include "controls/xgrid_host.h"
#include "controls/xgrid_model.h"

class TPopupListbox;
class TXGridFixedView;
class TXGridHeader;
class TXGridInplaceEdit;
class QHeaderView;

class TXGrid : public QTableView, private TXGridHost {
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE setColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE setRowCount)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE setFixedCols)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE setDefaultRowHeight)
    Q_PROPERTY(QStringList Display READ Display WRITE setDisplay)
    Q_PROPERTY(int TitleLines READ TitleLines WRITE setTitleLines)
    Q_PROPERTY(bool RowAutoInc READ RowAutoInc WRITE setRowAutoInc)
    Q_PROPERTY(bool DoNotDelete READ DoNotDelete WRITE setDoNotDelete)
    Q_PROPERTY(QColor FixedColor READ FixedColor WRITE setFixedColor)
    Q_PROPERTY(QColor FixedFontColor READ FixedFontColor WRITE setFixedFontColor)
    Q_PROPERTY(int TempColCount READ TempColCount WRITE setTempColCount)
    Q_PROPERTY(bool ShowColHints READ ShowColHints WRITE setShowColHints)

public:
    explicit TXGrid(QWidget* parent = nullptr);
    ~TXGrid() override;

    cgt::CellTable& table() override { return table_; }
    const cgt::CellTable& table() const { return table_; }
    // The table was changed directly (by a rule of the screen): the cells, the editor and the
    // totals show it again.
    void TableEdited();
    // Puts the focus in cell (col, row) without checking the cell being left: where a refusal
    // sends the user. Entering the grid this way does not go to its first cell.
    void FocusCell(int col, int row);

    // Properties.
    int ColCount() const { return table_.ColCount(); }
    void setColCount(int count);
    int RowCount() const { return table_.RowCount(); }
    void setRowCount(int count);
    int FixedCols() const override { return fixedCols_; }
    void setFixedCols(int count);
    int DefaultRowHeight() const override { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);
    QStringList Display() const;
    void setDisplay(const QStringList& lines);
    // The columns from their descriptions as the rules give them (one line per column), and
    // their widths in pixels where given (-1 hides a column).
    void SetColumns(const cgt::StringList& display, std::span<const int> widths = {});
    int TitleLines() const { return titleLines_; }
    void setTitleLines(int lines);
    bool RowAutoInc() const { return rowAutoInc_; }
    void setRowAutoInc(bool on) { rowAutoInc_ = on; }
    bool DoNotDelete() const { return doNotDelete_; }
    void setDoNotDelete(bool on) { doNotDelete_ = on; }
    QColor FixedColor() const override { return fixedColor_; }
    void setFixedColor(const QColor& color);
    QColor FixedFontColor() const { return fixedFontColor_; }
    void setFixedFontColor(const QColor& color) { fixedFontColor_ = color; }
    int TempColCount() const { return tempColCount_; }
    void setTempColCount(int count) {
        if (count > 0) tempColCount_ = count;
    }
    bool ShowColHints() const { return showColHints_; }
    void setShowColHints(bool on);

    // How the grid draws a data cell's text (the cell and the editor keep it as it is); by
    // default as it stands.
    using ShownText = TXGridModel::ShownText;
    void setShownText(ShownText shown);
    QString ShownCell(int col, int row) const;

    // Cells (row 0 the titles) and the current cell.
    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    int Col() const override { return col_; }
    int Row() const override { return row_; }
    // Moves the current cell as the user would: the cell being left is checked first. False
    // when the move is refused.
    bool MoveTo(int col, int row);
    void setCol(int col) { MoveTo(col, row_); }
    void setRow(int row) { MoveTo(col_, row); }
    int colWidths(int col) const;
    void setColWidths(int col, int width); // -1 hides the column
    int rowHeights(int row) const;
    void setRowHeights(int row, int height);

    // Rows and columns.
    void LoadRows(const cgt::StringList* list);
    void SaveRows(cgt::StringListRef& list) const { table_.SaveRows(list); }
    void ClearRows();
    void SortRows(const QString& keys);
    void InsertRowAt(int row);
    void DeleteRow(int row);
    cgt::Extended ColumnTotal(int col) const { return table_.ColumnTotal(col); }
    QString ColumnTotalText(int col) const;
    // The total as the totals row shows it: through the shown-text rule, as the cells are.
    QString ShownColumnTotal(int col) const;
    int ColumnType(int col) const override { return table_.ColumnType(col); }
    bool ColumnNoTotal(int col) const { return table_.ColumnNoTotal(col); }
    void LockColumn(int col);
    void UnlockColumn(int col);
    void SetColumnReadOnly(int col, bool readOnly);

    bool Modified() const { return table_.Modified(); }
    void setModified(bool on) { table_.SetModified(on); }

    // Scales column widths (except hidden ones), row heights, the title row, the grid's
    // width, top and height and the font by m/d.
    void ScaleBy(int m, int d);

    TXGridInplaceEdit* inplaceEditor() const { return editor_; }
    TPopupListbox* picklist() const override { return popup_; }
    // Hint number shown over the title row (0: none).
    int currentHint() const { return currentHint_; }
    int titleRowHeight() const;
    // The fixed columns stay at the left edge when the grid scrolls sideways: their total width,
    // and where a column is shown, in viewport coordinates.
    int fixedWidth() const override;
    int columnLeft(int col) const;
    // The view that shows the fixed columns over the scrolling ones.
    QTableView* fixedView() const;

    // Opens the drop-down list of the current cell (its column must have a picklist button).
    void DropDown() override;
    // Keys the editor passes on; true when used.
    bool handleGridKey(QKeyEvent* event) override;

signals:
    // The screen may replace the picklist of column `col` before it is used.
    void OnPicklistDropdown(int col, int row, QStringList* picklist);
    void OnElippsisclicked(int col, int row);
    void OnEnterCell(int col, int row);
    // Setting *enterExitCell false refuses the move; *aCol, *aRow may change the target.
    void OnExitCell(int col, int row, int* aCol, int* aRow, bool* enterExitCell);
    // Every key first; setting *key to 0 swallows it.
    void OnKeyDown(int* key, Qt::KeyboardModifiers modifiers);
    // Totals, scroll position or geometry changed: the totals row repaints.
    void totalsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void changeEvent(QEvent* event) override;
    // A cell of a scrolling column is brought into view right of the fixed columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    QTableView* view() override { return this; }
    void syncModel();
    void syncEditor();
    void placeEditor();
    void cellChanged(int col, int row);
    bool checkCurrent(int* aCol, int* aRow);
    // The cell the next entry of the grid goes to instead of the first one; col -1: none.
    int enterCol_ = -1;
    int enterRow_ = 1;
    // The cell table's messages, each in an error box after a beep.
    void showTableMessages();
    bool moveTo(int col, int row, bool check);
    void addRow();
    void deleteRowAsked();
    void editorTextChanged(const QString& text);
    void focusChanged(QWidget* old, QWidget* now);
    bool isWithin(const QWidget* widget) const;
    void enterGrid();
    void leaveGrid();
    void acceptPicklistItem(const QString& item);
    void columnHintAt(QHeaderView* header, int x) override;
    void syncFixedView();
    void placeFixedView();
    void applyTitleHeight(int height);
    void applyColumnWidths();
    void moveByTab(bool forward);

    cgt::CellTable table_;
    TXGridModel* model_;
    TXGridHeader* header_;
    TXGridFixedView* fixedView_ = nullptr;
    TXGridInplaceEdit* editor_;
    TPopupListbox* popup_;
    std::vector<int> colWidths_;
    int col_ = 0;
    int row_ = 1;
    int fixedCols_ = 0;
    int defaultRowHeight_ = 20;
    int titleLines_ = 1;
    bool rowAutoInc_ = true;
    bool doNotDelete_ = false;
    QColor fixedColor_;
    QColor fixedFontColor_ = Qt::black;
    int tempColCount_ = 0;
    bool showColHints_ = true;
    int currentHint_ = 0;
    bool focusWithin_ = false;
    Qt::FocusReason focusReason_ = Qt::OtherFocusReason;
    bool syncing_ = false;
    bool checking_ = false;
};
