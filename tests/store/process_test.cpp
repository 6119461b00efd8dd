// Several processes on one home directory: concurrent inserts, and a process killed in the middle
// of a cascading delete.

#include "store_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QElapsedTimer>

#include <chrono>
#include <set>
#include <thread>

namespace store {
namespace {

using test::Home;

// Runs `work` in a child process that first waits for a byte on `start`; returns its pid. The
// child ends with _exit(work()), so it never returns into the test framework.
template <typename Work>
pid_t spawn(int start, Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        char go = 0;
        if (::read(start, &go, 1) != 1) {
            ::_exit(100);
        }
        int rc = 101;
        try {
            rc = work();
        } catch (...) {
            rc = 102;
        }
        ::_exit(rc);
    }
    return pid;
}

int exitCode(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

TEST(Processes, TwoInsertingAtOnceGetDistinctIdentifiers) {
    Home h;
    h.dict.reset();  // no connection of the parent across fork()
    const QString home = h.dir.path();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    auto insertMany = [&home](int process) {
        platform::RecordingSink sink;
        sink.fallback = platform::Yes;  // keep trying whatever is asked
        platform::ErrorManager errors(sink);
        Dictionary d(home, errors);  // both create the files if they are not there yet
        auto& bed = d.bedrijven();
        bed.open();
        int failures = 0;
        for (int i = 0; i < 1000; ++i) {
            // Half primed and inserted, half inserted without priming.
            if (i % 2 == 0 && bed.prime() != Status::Ok) {
                ++failures;
                continue;
            }
            setText(bed.record().naam, QStringLiteral("P%1-%2").arg(process).arg(i));
            if (bed.insert() != Status::Ok) {
                ++failures;
            }
        }
        bed.close();
        return failures == 0 && sink.messages.empty() ? 0 : 1;
    };
    const pid_t a = spawn(pipeFds[0], [&] { return insertMany(1); });
    const pid_t b = spawn(pipeFds[0], [&] { return insertMany(2); });
    ASSERT_EQ(::write(pipeFds[1], "ab", 2), 2);
    EXPECT_EQ(exitCode(a), 0);
    EXPECT_EQ(exitCode(b), 0);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);

    h.dict = std::make_unique<Dictionary>(home, h.errors);
    auto& bed = h.dict->bedrijven();
    bed.open();
    EXPECT_EQ(bed.records(), 2000);
    std::set<int32_t> ids;
    std::set<QString> names;
    bed.set(Key::BED_By_Id);
    while (bed.next() == Status::Ok) {
        ids.insert(bed.record().id);
        names.insert(text(bed.record().naam));
    }
    EXPECT_EQ(ids.size(), 2000u);
    EXPECT_EQ(*ids.rbegin(), 2000);
    EXPECT_EQ(names.size(), 2000u);  // no record was lost or written twice
    bed.close();
}

// Copies every file of one directory into another (which exists).
void copyFiles(const QString& from, const QString& to) {
    for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden)) {
        QFile::remove(QDir(to).filePath(name));
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
    }
}

TEST(Processes, KilledDuringACascadingDeleteLeavesAllOrNothing) {
    constexpr int kCalculations = 10;
    constexpr int kRowsPerFile = 1000;  // 10 x (1000 + 1000) = 20,000 frozen rows
    constexpr int64_t kFrozen = 2LL * kCalculations * kRowsPerFile;

    QTemporaryDir templateDir(test::temporaryBase(false));
    {
        platform::RecordingSink sink;
        platform::ErrorManager errors(sink);
        Dictionary d(templateDir.path(), errors);
        d.bedrijvenRelations().open();
        const int32_t company = test::addCompany(d, QStringLiteral("Groot"));
        test::addCompany(d, QStringLiteral("Ander"));
        test::addBron(d, company, QStringLiteral("EP1"));
        for (int c = 0; c < kCalculations; ++c) {
            Transaction tx(d, {&d.berbron(), &d.berggl()});
            ASSERT_EQ(tx.status(), Status::Ok);
            test::addCalculation(d, company, kRowsPerFile, kRowsPerFile);
            ASSERT_EQ(tx.commit(), Status::Ok);
        }
        d.bedrijvenRelations().close();
    }

    // The child deletes company 1 after telling the parent it is about to start.
    auto deleteInChild = [](const QString& home, int ready) {
        platform::RecordingSink sink;
        platform::ErrorManager errors(sink);
        Dictionary d(home, errors);
        d.bedrijvenRelations().open();
        if (d.bedrijven().fetch(Key::BED_By_Id, 1) != Status::Ok) {
            return 3;
        }
        if (::write(ready, "r", 1) != 1) {
            return 4;
        }
        return d.bedrijvenRelations().remove(false) == DeleteResult::Done ? 0 : 5;
    };

    auto run = [&](int killAfterMicros, bool& deleted) {
        QTemporaryDir work(test::temporaryBase(false));
        copyFiles(templateDir.path(), work.path());
        int start[2];
        int ready[2];
        ASSERT_EQ(::pipe(start), 0);
        ASSERT_EQ(::pipe(ready), 0);
        const QString home = work.path();
        const pid_t child = spawn(start[0], [&] { return deleteInChild(home, ready[1]); });
        ASSERT_EQ(::write(start[1], "s", 1), 1);
        char r = 0;
        ASSERT_EQ(::read(ready[0], &r, 1), 1);
        if (killAfterMicros >= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(killAfterMicros));
            ::kill(child, SIGKILL);
        }
        const int code = exitCode(child);
        EXPECT_TRUE(code == 0 || code == 200 + SIGKILL) << code;
        for (int fd : {start[0], start[1], ready[0], ready[1]}) {
            ::close(fd);
        }

        // Opening the files again rolls back whatever the killed process left half done.
        platform::RecordingSink sink;
        platform::ErrorManager errors(sink);
        Dictionary d(home, errors);
        d.bedrijvenRelations().open();
        const int64_t frozen = d.berbron().records() + d.berggl().records();
        deleted = frozen == 0;
        EXPECT_TRUE(frozen == 0 || frozen == kFrozen) << frozen << " after " << killAfterMicros;
        EXPECT_EQ(d.bedrijven().records(), deleted ? 1 : 2);
        EXPECT_EQ(d.berekeningen().records(), deleted ? 0 : kCalculations);
        EXPECT_EQ(d.bronnen().records(), deleted ? 0 : 1);
        EXPECT_TRUE(sink.messages.empty());
        d.bedrijvenRelations().close();
    };

    // One delete without interruption gives its duration; the kills land across it.
    QElapsedTimer timer;
    timer.start();
    bool deleted = false;
    run(-1, deleted);
    EXPECT_TRUE(deleted);
    const auto duration = static_cast<int>(timer.nsecsElapsed() / 1000);
    int whole = 0;
    int none = 0;
    for (int step = 0; step < 12; ++step) {
        run(duration * step / 10, deleted);
        (deleted ? whole : none) += 1;
    }
    RecordProperty("deleted_entirely", whole);
    RecordProperty("left_entirely", none);
}

}  // namespace
}  // namespace store
