#include "report/preview/printing_form.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPixmap>

#include "ui_printing_form.h"

namespace cgt::report {

namespace {

constexpr int kFrameInterval = 500;

// A printer with a sheet coming out of it, the sheet further out in each frame.
QPixmap PrinterFrame(int frame) {
    QPixmap picture(64, 56);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(18, 2, 28, 18)); // the paper waiting at the back
    p.setBrush(QColor(160, 160, 160));
    p.drawRoundedRect(QRectF(6, 16, 52, 22), 4, 4);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(14, 32, 36, 4)); // the slot
    const double out = 6.0 * frame;
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18, 34, 28, 4 + out));
    p.setPen(QPen(Qt::darkGray, 1));
    for (int line = 0; line < frame; ++line)
        p.drawLine(QPointF(22, 40 + 6 * line), QPointF(42, 40 + 6 * line));
    return picture;
}

} // namespace

TFPrinting::TFPrinting(TXReport* report, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      Report(report), Timer1(new QTimer(this)), ui_(std::make_unique<Ui::TFPrinting>()) {
    ui_->setupUi(this);
    ui_->Image1->setPixmap(PrinterFrame(1));
    ui_->Image2->setPixmap(PrinterFrame(2));
    ui_->Image3->setPixmap(PrinterFrame(3));
    ui_->Image->setPixmap(ui_->Image1->pixmap());
    Timer1->setInterval(kFrameInterval);
    connect(Timer1, &QTimer::timeout, this, &TFPrinting::Timer1Timer);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &TFPrinting::CancelBtnClick);
    setFixedSize(sizeHint());
}

TFPrinting::~TFPrinting() = default;

void TFPrinting::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFPrinting::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void TFPrinting::reject() {
    CancelBtnClick();
}

void TFPrinting::FormShow() {
    FrameCounter = 0;
    Timer1->start();
    Timer1Timer();
}

void TFPrinting::FormClose() {
    Timer1->stop();
}

void TFPrinting::Timer1Timer() {
    FrameCounter = FrameCounter % 3 + 1;
    const QLabel* frames[] = {ui_->Image1, ui_->Image2, ui_->Image3};
    ui_->Image->setPixmap(frames[FrameCounter - 1]->pixmap());
    ui_->Image->repaint();
    if (Report != nullptr && Report->PrintingPage > 1) {
        ui_->PrintingLabel->setText(QStringLiteral("Printing page %1").arg(Report->PrintingPage));
        ui_->PrintingLabel->repaint();
    }
}

void TFPrinting::CancelBtnClick() {
    if (Report != nullptr) Report->Aborted = true;
    ui_->CancelBtn->setEnabled(false);
}

} // namespace cgt::report
