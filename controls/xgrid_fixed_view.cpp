#include "controls/xgrid_fixed_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

#include "controls/xgrid_delegate.h"
#include "controls/xgrid_header.h"
#include "controls/xgrid_host.h"

TXGridFixedView::TXGridFixedView(TXGridHost* grid)
    : QTableView(grid->view()), grid_(grid), titleRow_(new TXGridHeader(grid)) {
    const QTableView* view = grid->view();
    setObjectName(QStringLiteral("fixedColumns"));
    setModel(view->model());
    setHorizontalHeader(titleRow_);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(grid->DefaultRowHeight());
    setItemDelegate(new TXGridDelegate(grid));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->installEventFilter(this);
    hide();
    connect(view->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { setRowHeight(row, size); });
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int size) {
                if (col >= grid_->FixedCols()) return;
                setColumnWidth(col, size);
                place();
            });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, view->verticalScrollBar(),
            &QScrollBar::setValue);
}

void TXGridFixedView::syncColumns() {
    const QTableView* view = grid_->view();
    for (int c = 0; c < model()->columnCount(); ++c) {
        const bool shown = c < grid_->FixedCols() && !view->isColumnHidden(c);
        setColumnHidden(c, !shown);
        if (shown) setColumnWidth(c, view->columnWidth(c));
    }
    verticalScrollBar()->setValue(view->verticalScrollBar()->value());
    place();
}

void TXGridFixedView::place() {
    const int width = grid_->fixedWidth();
    if (grid_->FixedCols() <= 0 || width <= 0) {
        hide();
        return;
    }
    const QTableView* view = grid_->view();
    const QRect area = view->viewport()->geometry();
    const QHeaderView* titles = view->horizontalHeader();
    const int top = titles->isHidden() ? area.top() : titles->geometry().top();
    setGeometry(area.left(), top, std::min(width, area.width()), area.bottom() - top + 1);
    show();
    raise();
}

bool TXGridFixedView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport()) {
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
