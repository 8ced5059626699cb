#pragma once
// The tag inspector of debug mode: reads and writes one field of the store by tag number and
// shows the field's type.

#include <QWidget>

#include <memory>

class QKeyEvent;
class QRadioButton;

namespace Ui {
class TfrmGetTag;
}

namespace cgt {

class TfrmGetTag : public QWidget {
    Q_OBJECT

public:
    explicit TfrmGetTag(QWidget* parent = nullptr);
    ~TfrmGetTag() override;

    Ui::TfrmGetTag& ui() { return *ui_; }

public slots:
    void btnGetItClick();
    void btnSetItClick();
    void btnCloseClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The tag typed in edtTag; 0 after writing "Invalid Tag" when it is out of range.
    int tagOrComplain();
    QRadioButton* typeButton(int type) const;

    std::unique_ptr<Ui::TfrmGetTag> ui_;
};

} // namespace cgt
