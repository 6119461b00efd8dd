// vaduvevedu-cli driven as a user would: in a fresh home directory, reading what it prints.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_home = m_root.path() + QStringLiteral("/home");
        ASSERT_TRUE(QDir().mkpath(m_home));
    }

    Outcome run(const QStringList& arguments, const QByteArray& input = {}) {
        QProcess p;
        p.setWorkingDirectory(m_home);
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VADUVEVEDU_SETTINGS"), m_root.path() + QStringLiteral("/s.ini"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VV_CLI_PATH), arguments);
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return Outcome{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                       QString::fromUtf8(p.readAllStandardError())};
    }

    QString write(const QString& name, const QByteArray& content) {
        const QString path = m_root.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    QTemporaryDir m_root;
    QString m_home;
};

const QByteArray kCompanies = R"({"bedrijven":[
 {"naam":"Jansen & Zn <\"de Hoeve\">","meteo":"Eindhoven","aanmaakdatum":"20240102",
  "bronnen":[{"id":"EP1","x":155000,"y":463000,"ep_hoogte":6.5,"gem_gebouwhoogte":5.0,
              "ep_diameter":0.5,"ep_uittreesnelheid":4.0,"e_aanvraag":12000},
             {"id":"Stal 2","x":155010,"y":463020,"ep_hoogte":7.25,"gem_gebouwhoogte":6.0,
              "ep_diameter":0.75,"ep_uittreesnelheid":3.3,"e_aanvraag":800.5}],
  "ggl":[{"id":"Woning é","x":155300,"y":463000,"geurnorm":2.0}]},
 {"naam":"Boerderij","bronnen":[],"ggl":[]}]})";

TEST_F(Cli, ImportExportRoundTripGivesEqualCompanies) {
    const Outcome imported =
        run({QStringLiteral("import"), write(QStringLiteral("a.json"), kCompanies)});
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, QStringLiteral("1\n2\n"));

    const Outcome list = run({QStringLiteral("list")});
    EXPECT_EQ(list.out, QStringLiteral("1\tJansen & Zn <\"de Hoeve\">\tEindhoven\t20240102\n"
                                       "2\tBoerderij\tSchiphol\t") +
                            list.out.section(QLatin1Char('\t'), 6, 6));

    const Outcome exported = run({QStringLiteral("export")});
    ASSERT_EQ(exported.code, 0);
    // Importing the export again into a second home gives the same export.
    const Outcome again =
        run({QStringLiteral("import"), write(QStringLiteral("b.json"), exported.out.toUtf8())});
    ASSERT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, QStringLiteral("3\n4\n"));
    const Outcome second =
        run({QStringLiteral("export"), QStringLiteral("3"), QStringLiteral("4")});
    EXPECT_EQ(second.out, exported.out);

    const auto doc = QJsonDocument::fromJson(exported.out.toUtf8());
    const auto bron = doc[QStringLiteral("bedrijven")][0][QStringLiteral("bronnen")][1];
    EXPECT_EQ(bron[QStringLiteral("e_aanvraag")].toDouble(), 800.5);
    EXPECT_EQ(doc[QStringLiteral("bedrijven")][0][QStringLiteral("ggl")][0][QStringLiteral("id")]
                  .toString(),
              QStringLiteral("Woning é"));
}

TEST_F(Cli, RefusedFileStoresNothingAndNamesTheItem) {
    struct Case {
        const char* name;
        QByteArray json;
        const char* message;
    };
    const Case cases[] = {
        {"x_out_of_range",
         R"({"bedrijven":[{"naam":"A"},{"naam":"B","bronnen":[{"id":"EP9","x":300000,"y":463000}]}]})",
         "Fout in invoerbereik"},
        {"building_before_stack",
         R"({"bedrijven":[{"naam":"A","bronnen":[{"id":"EP1","x":1,"y":400000,"ep_hoogte":101,"gem_gebouwhoogte":101}]}]})",
         "Gem. Gebouwhoogte niet tussen 0 en 100"},
        {"ggl_y", R"({"bedrijven":[{"naam":"A","ggl":[{"id":"W","x":1,"y":1}]}]})",
         "Y Coord. niet tussen 300000 en 625000"},
        {"not_json", "{bedrijven", "geen geldige JSON"},
        {"fraction", R"({"bedrijven":[{"naam":"A","ggl":[{"id":"W","x":1.5,"y":400000}]}]})",
         "geheel getal"},
        {"label_too_long",
         R"({"bedrijven":[{"naam":"A","ggl":[{"id":"123456789012345678901","x":1,"y":400000}]}]})",
         "langer dan 20 tekens"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r =
            run({QStringLiteral("import"), write(QStringLiteral("bad.json"), c.json)});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(run({QStringLiteral("list")}).out, QString());
    }
    // The range message names the company and the emission point.
    const Outcome r =
        run({QStringLiteral("import"), write(QStringLiteral("bad.json"), cases[0].json)});
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("Bedrijf 2 (B), bron 1 (EP9): X Coord. niet tussen 0 en 281800")))
        << r.err.toStdString();

    // --unchecked stores what the checks refuse.
    const Outcome unchecked =
        run({QStringLiteral("import"), write(QStringLiteral("bad.json"), cases[0].json),
             QStringLiteral("--unchecked")});
    EXPECT_EQ(unchecked.code, 0);
    EXPECT_EQ(unchecked.out, QStringLiteral("1\n2\n"));
}

TEST_F(Cli, DeleteAsksAndCopyProposesName) {
    ASSERT_EQ(run({QStringLiteral("import"), write(QStringLiteral("a.json"), kCompanies)}).code, 0);

    const Outcome no = run({QStringLiteral("delete"), QStringLiteral("1")});
    EXPECT_EQ(no.code, 1);
    EXPECT_TRUE(no.err.contains(
        QStringLiteral("Confirm Delete: Are you sure you want to delete the highlighted record?")));
    EXPECT_TRUE(run({QStringLiteral("list")}).out.startsWith(QStringLiteral("1\t")));

    const Outcome copy = run({QStringLiteral("copy"), QStringLiteral("1"),
                              QStringLiteral("--meteo"), QStringLiteral("Schiphol")});
    ASSERT_EQ(copy.code, 0) << copy.err.toStdString();
    EXPECT_EQ(copy.out, QStringLiteral("3\n"));
    const auto doc = QJsonDocument::fromJson(
        run({QStringLiteral("export"), QStringLiteral("1"), QStringLiteral("3")}).out.toUtf8());
    const auto source = doc[QStringLiteral("bedrijven")][0].toObject();
    const auto copied = doc[QStringLiteral("bedrijven")][1].toObject();
    EXPECT_EQ(copied[QStringLiteral("naam")].toString(),
              QStringLiteral("Kopie van Jansen & Zn <\"de Hoeve\">"));
    EXPECT_EQ(copied[QStringLiteral("meteo")].toString(), QStringLiteral("Schiphol"));
    EXPECT_EQ(source[QStringLiteral("meteo")].toString(), QStringLiteral("Eindhoven"));
    EXPECT_EQ(copied[QStringLiteral("bronnen")], source[QStringLiteral("bronnen")]);
    EXPECT_EQ(copied[QStringLiteral("ggl")], source[QStringLiteral("ggl")]);

    const Outcome yes =
        run({QStringLiteral("delete"), QStringLiteral("1"), QStringLiteral("--yes")});
    EXPECT_EQ(yes.code, 0);
    EXPECT_FALSE(run({QStringLiteral("list")}).out.contains(QStringLiteral("1\tJansen")));
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("1")}).code, 1);
}

TEST_F(Cli, CalcSavesAndReportsExitCodes) {
    ASSERT_EQ(run({QStringLiteral("import"), write(QStringLiteral("a.json"), kCompanies)}).code, 0);

    // An own roughness outside 0.03 ... 1 is refused before anything runs.
    const Outcome refused = run({QStringLiteral("calc"), QStringLiteral("1"),
                                 QStringLiteral("--ruwheid"), QStringLiteral("1.5")});
    EXPECT_EQ(refused.code, 3);
    EXPECT_TRUE(refused.err.contains(QStringLiteral(
        "Ruwheid niet tussen 0.03 en 1, kontroleer uw instellingen en begin opnieuw!")));

    // With the real model: loads for the locations, saved under a name.
    const Outcome calc =
        run({QStringLiteral("calc"), QStringLiteral("1"), QStringLiteral("--ruwheid"),
             QStringLiteral("0,3"), QStringLiteral("--save"), QStringLiteral("Eerste")});
    ASSERT_EQ(calc.code, 0) << calc.err.toStdString();
    EXPECT_TRUE(calc.out.contains(QStringLiteral("Ruwheid: 0,30 (eigen)")))
        << calc.out.toStdString();
    EXPECT_TRUE(calc.out.endsWith(QStringLiteral("BER:ID 1\n"))) << calc.out.toStdString();
    const QStringList lines = calc.out.split(QLatin1Char('\n'));
    const auto woning = std::find_if(lines.begin(), lines.end(), [](const QString& l) {
        return l.contains(QStringLiteral("Woning é"));
    });
    ASSERT_NE(woning, lines.end());
    EXPECT_FALSE(woning->mid(57).trimmed().isEmpty()) << woning->toStdString();

    const Outcome list =
        run({QStringLiteral("saved"), QStringLiteral("list"), QStringLiteral("1")});
    EXPECT_TRUE(list.out.startsWith(QStringLiteral("1\tEerste\t"))) << list.out.toStdString();
    const Outcome show =
        run({QStringLiteral("saved"), QStringLiteral("show"), QStringLiteral("1")});
    EXPECT_TRUE(show.out.contains(QStringLiteral("Woning é")));
    EXPECT_EQ(run({QStringLiteral("saved"), QStringLiteral("delete"), QStringLiteral("1")}).code,
              1);
    EXPECT_EQ(run({QStringLiteral("saved"), QStringLiteral("delete"), QStringLiteral("1"),
                   QStringLiteral("--yes")})
                  .code,
              0);
    EXPECT_EQ(run({QStringLiteral("saved"), QStringLiteral("list"), QStringLiteral("1")}).out,
              QString());

    // Without a roughness grid the derived roughness falls back to 0.1 after its message.
    const Outcome derived = run({QStringLiteral("calc"), QStringLiteral("2")});
    EXPECT_EQ(derived.code, 0) << derived.err.toStdString();
    EXPECT_TRUE(derived.out.contains(QStringLiteral("Ruwheid: 0,10 (berekend)")))
        << derived.out.toStdString();
}

TEST_F(Cli, UsageErrors) {
    EXPECT_EQ(run({}).code, 1);
    EXPECT_EQ(run({QStringLiteral("--help")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("frobnicate")}).code, 1);
    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("abc")}).code, 1);
    EXPECT_EQ(run({QStringLiteral("copy"), QStringLiteral("--naam")}).code, 1);
    EXPECT_EQ(run({QStringLiteral("import"), m_root.path() + QStringLiteral("/missing.json")}).code,
              1);
}

}  // namespace
