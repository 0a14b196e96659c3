// The window's class index and completion queries off the event thread, over
// a CLASSPATH folder the test writes: many package-private classes (each one
// the ranking must read and pass over) and a few public ones. The index is
// handed over only through the event loop, a newer query makes an older one
// go unanswered, and the answer is the one the calling thread would get.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "lookup/ClassIndexProvider.h"
#include "lookup/CompletionWorker.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/QtApp.h"
#include "tests/support/QtPrinters.h"

namespace {

using platform::classlib::ClassLibrary;
using namespace testing_classlib;

template <class Done> bool until(Done done, qint64 ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class CompletionWorkerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test_support::ensureApplication<QCoreApplication>(); }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (int i = 0; i < 3000; ++i) {
            const std::string name = "p/Qz" + std::to_string(10000 + i);
            ASSERT_TRUE(writeBytes(dir.filePath(QString::fromStdString(name) + ".class"),
                buildClass(classDef(name, "java/lang/Object", {}, 0x20))));
        }
        for (const char* name : {"p/QzPublicA", "p/QzPublicB"})
            ASSERT_TRUE(writeBytes(dir.filePath(QString::fromLatin1(name) + ".class"), buildClass(classDef(name))));
        std::vector<std::unique_ptr<platform::classlib::ClassSource>> sources;
        sources.push_back(std::make_unique<platform::classlib::FolderSource>(dir.path().toStdString()));
        library = std::make_unique<ClassLibrary>(std::move(sources));
    }

    QTemporaryDir dir;
    std::unique_ptr<ClassLibrary> library;
};

}  // namespace

TEST_F(CompletionWorkerTest, TheIndexArrivesByTheEventLoopAndOnlyTheLatestQueryIsAnswered)
{
    lookup::ClassIndexProvider provider(*library);
    int readySignals = 0;
    QObject::connect(&provider, &lookup::ClassIndexProvider::ready, [&] { ++readySignals; });
    EXPECT_FALSE(provider.isReady());  // handed over by a queued call, never before the loop runs
    ASSERT_TRUE(until([&] { return provider.isReady(); }));
    EXPECT_EQ(readySignals, 1);
    EXPECT_EQ(provider.completion()->index().size(), 3002u);

    lookup::CompletionWorker worker;
    std::vector<std::pair<quint64, QStringList>> answers;
    QObject::connect(
        &worker, &lookup::CompletionWorker::answered, [&](quint64 id, const std::vector<lookup::ClassChoice>& choices) {
            QStringList names;
            for (const auto& c : choices) names << c.binaryName;
            answers.emplace_back(id, names);
        });
    using Query = lookup::CompletionWorker::Query;
    worker.ask(1, Query::Complete, provider.completion(), "Qz", 12);  // passes over 3,000 hidden classes
    worker.ask(2, Query::Complete, provider.completion(), "Qz1", 12);
    worker.ask(3, Query::Complete, provider.completion(), "QzP", 12);
    ASSERT_TRUE(until([&] { return !answers.empty() && answers.back().first == 3; }));
    until([] { return false; }, 200);  // nothing older arrives late
    EXPECT_EQ(answers.back().first, 3u);
    EXPECT_LE(answers.size(), 2u);  // "Qz" stops at its next class file once "Qz1" is asked
    EXPECT_EQ(answers.back().second, QStringList({"p.QzPublicA", "p.QzPublicB"}));

    worker.ask(4, Query::Suggest, provider.completion(), "p.QzPublicC", 8);
    ASSERT_TRUE(until([&] { return answers.back().first == 4; }));
    EXPECT_EQ(answers.back().second, QStringList({"p.QzPublicA", "p.QzPublicB"}));
}
