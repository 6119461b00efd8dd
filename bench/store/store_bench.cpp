// Prints how long the record store takes for the three heavy operations of the program, on a
// home directory on disk (flushes included), each the median of a few runs:
//   - storing the frozen copy of a saved calculation, 1,000 rows in one transaction (goal 50 ms);
//   - the cascading delete of a company with 100 saved calculations of 100 frozen points and
//     100 frozen locations each (goal 300 ms);
//   - reading 10,000 companies in name order (goal 50 ms).
// Usage: store_bench [directory]   (default: the system's temporary directory)

#include "platform/messages.h"
#include "store/dictionary.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Home {
    explicit Home(const QString& base)
        : dir(QDir(base).filePath(QStringLiteral("vv-store-bench-XXXXXX"))),
          errors(sink),
          dict(dir.path(), errors) {
        dict.bedrijvenRelations().open();
    }
    ~Home() { dict.bedrijvenRelations().close(); }
    QTemporaryDir dir;
    platform::RecordingSink sink;
    platform::ErrorManager errors;
    store::Dictionary dict;
};

void frozenRows(store::Dictionary& d, int32_t calculation, int points, int locations) {
    auto& bb = d.berbron();
    for (int i = 0; i < points; ++i) {
        bb.clear();
        bb.record().fkBerekening = calculation;
        store::setText(bb.record().userId, QStringLiteral("EP%1").arg(i));
        bb.record().xCoord = 155000 + i;
        bb.record().yCoord = 463000;
        bb.record().stHoogte = 6.5;
        bb.record().stBinnendiam = 0.5;
        bb.record().stUittree = 4;
        bb.record().eVergund = 12000;
        (void)bb.insert();
    }
    auto& bg = d.berggl();
    for (int i = 0; i < locations; ++i) {
        bg.clear();
        bg.record().fkBerekening = calculation;
        store::setText(bg.record().userId, QStringLiteral("Woning %1").arg(i));
        bg.record().xCoor = 155300 + i;
        bg.record().yCoor = 463000;
        bg.record().geurnorm = 2;
        bg.record().geurbelasting = 1.5;
        (void)bg.insert();
    }
}

int32_t calculation(store::Dictionary& d, int32_t company) {
    auto& ber = d.berekeningen();
    ber.clear();
    ber.record().fk = company;
    store::setText(ber.record().naam, QStringLiteral("Bench"));
    (void)ber.insert();
    return ber.record().id;
}

int32_t company(store::Dictionary& d, const QString& naam) {
    auto& bed = d.bedrijven();
    bed.clear();
    store::setText(bed.record().naam, naam);
    store::setText(bed.record().meteo, QStringLiteral("Eindhoven"));
    (void)bed.insert();
    return bed.record().id;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void report(const char* what, const std::vector<double>& runs, double goal) {
    const double m = median(runs);
    std::printf("%-66s %8.1f ms  (best %.1f, goal < %.0f ms)%s\n", what, m,
                *std::min_element(runs.begin(), runs.end()), goal, m < goal ? "" : "  OVER GOAL");
}

}  // namespace

int main(int argc, char** argv) {
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    std::printf("record store, home directories under %s\n", base.toLocal8Bit().constData());

    {
        std::vector<double> runs;
        std::vector<double> commits;
        Home h(base);
        const int32_t c = company(h.dict, QStringLiteral("Jansen"));
        for (int run = 0; run < 7; ++run) {
            const int32_t ber = calculation(h.dict, c);
            const auto t0 = Clock::now();
            store::Transaction tx(h.dict, {&h.dict.berbron(), &h.dict.berggl()});
            frozenRows(h.dict, ber, 600, 400);
            const auto t1 = Clock::now();
            (void)tx.commit();
            runs.push_back(ms(Clock::now() - t0));
            commits.push_back(ms(Clock::now() - t1));
        }
        report("frozen copy of 1,000 rows in one transaction", runs, 50);
        std::printf("  of which the commit (file system flushes of two files): %.1f ms\n",
                    median(commits));
    }
    {
        std::vector<double> runs;
        for (int run = 0; run < 3; ++run) {
            Home h(base);
            const int32_t c = company(h.dict, QStringLiteral("Groot"));
            company(h.dict, QStringLiteral("Ander"));
            for (int k = 0; k < 100; ++k) {
                store::Transaction tx(h.dict, {&h.dict.berbron(), &h.dict.berggl()});
                frozenRows(h.dict, calculation(h.dict, c), 100, 100);
                (void)tx.commit();
            }
            (void)h.dict.bedrijven().fetch(store::Key::BED_By_Id, c);
            const auto t0 = Clock::now();
            const auto result = h.dict.bedrijvenRelations().remove(false);
            runs.push_back(ms(Clock::now() - t0));
            if (result != store::DeleteResult::Done || h.dict.berbron().records() != 0) {
                std::printf("cascading delete failed\n");
                return 1;
            }
        }
        report("cascading delete: company, 100 calculations x (100 + 100 rows)", runs, 300);
    }
    {
        std::vector<double> runs;
        Home h(base);
        {
            store::Transaction tx(h.dict, {&h.dict.bedrijven()});
            for (int i = 0; i < 10000; ++i) {
                // Names in no particular order, some in lower case, some with accents.
                const int k = (i * 7919) % 10000;
                company(h.dict, (k % 3 == 0 ? QStringLiteral("é") : QStringLiteral("B")) +
                                    QStringLiteral("edrijf %1").arg(k));
            }
            (void)tx.commit();
        }
        auto& bed = h.dict.bedrijven();
        for (int run = 0; run < 7; ++run) {
            const auto t0 = Clock::now();
            int n = 0;
            bed.set(store::Key::BED_By_Name);
            while (bed.next() == store::Status::Ok) {
                ++n;
            }
            runs.push_back(ms(Clock::now() - t0));
            if (n != 10000) {
                std::printf("listed %d companies\n", n);
                return 1;
            }
        }
        report("listing 10,000 companies by name", runs, 50);
    }
    return 0;
}
