#pragma once
// A radio button whose caption sits above the indicator, centred.

#include <QRadioButton>

namespace platform {

class CaptionAboveRadioButton : public QRadioButton {
public:
    explicit CaptionAboveRadioButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QSize indicatorSize() const;
};

}  // namespace platform
