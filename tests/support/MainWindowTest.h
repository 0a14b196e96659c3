#pragma once
// A test of the main window on the offscreen platform: made in a fresh working
// folder (where its configuration file lives), its process exit recorded
// rather than taken.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/window/OrvelTree.h"
#include "tests/support/QtApp.h"

namespace test_support {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApplication<QApplication>();
        previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        delete window;
        QDir::setCurrent(previous);
    }

    void open()
    {
        window = new orvel_tree();
        window->exitProcess = [this](int status) { exitStatus = status; };
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    }
    // Types the class name and presses SEARCH.
    void search(const QString& typed)
    {
        window->classField()->setText(typed);
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->text() == "SEARCH")
                b->click();
    }
    // Runs the event loop until `done` (the workers' answers come queued), for 20 s at most.
    template <class Done> static bool until(Done done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    QTemporaryDir dir;
    QString previous;
    orvel_tree* window = nullptr;
    int exitStatus = -1;
};

}  // namespace test_support
