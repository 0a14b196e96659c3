#pragma once
#include <QWidget>
class orvel_tree : public QWidget {
    Q_OBJECT
public:
    orvel_tree();
    static void main();
};
