#pragma once
// The border arrangement: "North" and "South" take their preferred height across
// the whole width, "Center" takes what is left. (Only the regions the window uses.)

#include <QLayout>
#include <array>

namespace platform {

class BorderLayout : public QLayout {
public:
    enum Position { North, South, Center };

    explicit BorderLayout(QWidget* parent = nullptr, int spacing = 0);
    ~BorderLayout() override;

    void addWidget(QWidget* widget, Position position);
    QWidget* widgetAt(Position position) const;

    void addItem(QLayoutItem* item) override;  // goes to Center
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    QSize calculateSize(bool preferred) const;
    void put(QLayoutItem* item, Position position);

    std::array<QLayoutItem*, 3> items_ {};
};

}  // namespace platform
