// The settings text against Qt's own INI format, its reference: what the program writes must be
// byte for byte what Qt writes, and every text must read as Qt reads it, so that no earlier file
// reads differently and every file the program writes reads back in any QSettings.

#include "base/ini_text.h"

#include <QPoint>
#include <QRandomGenerator>
#include <QRect>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// Qt's reading of `text`, through a file of its own.
QSettings::SettingsMap readByQt(const QTemporaryDir &dir, const QByteArray &text, int n)
{
    const QString path = dir.filePath(QStringLiteral("read%1.ini").arg(n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    file.close();
    const QSettings settings(path, QSettings::IniFormat);
    QSettings::SettingsMap map;
    for (const QString &key : settings.allKeys())
        map.insert(key, settings.value(key));
    return map;
}

// Qt's text of `map`.
QByteArray writtenByQt(const QTemporaryDir &dir, const QSettings::SettingsMap &map, int n)
{
    const QString path = dir.filePath(QStringLiteral("write%1.ini").arg(n));
    {
        QSettings settings(path, QSettings::IniFormat);
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Characters that every escape, quote and encoding rule of the format meets.
QString randomText(QRandomGenerator &random, int maxLength)
{
    static const QString pool = QStringLiteral(" ,;=\"\\@%/[]#\t\n\r\a\v\b\f\x01\x1f\x7f" "0aF9xZ_-."
                                               "é€ÿ中\U0001F600");
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(8) == 0)
            text += QChar(char16_t(random.bounded(1, 0x3000)));
        else
            text += pool.at(random.bounded(pool.size()));
    }
    if (random.bounded(10) == 0)
        text.insert(random.bounded(text.size() + 1), QChar(u'\0'));
    return text;
}

QVariant randomValue(QRandomGenerator &random)
{
    switch (random.bounded(9)) {
    case 0:
        return random.bounded(-1000, 1000);
    case 1:
        return random.bounded(1000.0) - 500;
    case 2:
        return random.bounded(2) == 1;
    case 3: {
        QStringList list;
        for (int i = random.bounded(4); i > 0; --i)
            list << randomText(random, 6);
        return list;
    }
    case 4: {
        QVariantList list;
        for (int i = random.bounded(4); i > 0; --i)
            list << (random.bounded(2) ? QVariant(random.bounded(300)) : randomText(random, 4));
        return list;
    }
    case 5:
        return randomText(random, 6).toUtf8();
    case 6:
        return QRect(random.bounded(-9, 9), 2, random.bounded(50), 4);
    case 7:
        return QPoint(random.bounded(-9, 9), 7);
    default:
        return randomText(random, 12);
    }
}

QString randomKey(QRandomGenerator &random)
{
    static const QStringList sections = {QString(), QStringLiteral("mouse"),
                                         QStringLiteral("General"), QStringLiteral("a b%"),
                                         QStringLiteral("ü"), QStringLiteral("x/y")};
    QString name = randomText(random, 5).remove(u'/').remove(u'\\');
    name.remove(QChar(u'\0'));
    if (name.trimmed().isEmpty())
        name = QStringLiteral("k");
    const QString section = sections.at(random.bounded(sections.size()));
    return section.isEmpty() ? name : section + u'/' + name;
}

} // namespace

class TestIniText : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

private slots:
    void writesWhatQtWrites()
    {
        QRandomGenerator random(700);
        for (int n = 0; n < 400; ++n) {
            QSettings::SettingsMap map;
            for (int i = random.bounded(1, 8); i > 0; --i)
                map.insert(randomKey(random), randomValue(random));
            const QByteArray ours = ini::serialize(map);
            QCOMPARE(ours, writtenByQt(dir, map, n));
            QSettings::SettingsMap back;
            QVERIFY(ini::parse(ours, back));
            QCOMPARE(back, readByQt(dir, ours, n));
        }
    }

    void readsWhatQtReads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("comments and blanks")
            << QByteArray("; top\n\n  [mouse] ; tail\nlod = 3 ;c\n# not a comment=1\n");
        QTest::newRow("general sections") << QByteArray("a=1\n[general]\nb=2\n[%General]\nc=3\n");
        QTest::newRow("quoted and listed")
            << QByteArray("[s]\nq=\" a, b \"\nl=1, 2 ,\" 3\"\ne=\nx=@Invalid()\ny=\"\", \"\"\n");
        QTest::newRow("escapes") << QByteArray("k=a\\tb\\x41\\101\\q\\\"\\\n c\\0\nz=end\\");
        QTest::newRow("line breaks") << QByteArray("a=1\r\nb=\"two\r\nlines\"\r\nc=3\\\r\n4\n");
        QTest::newRow("key escapes") << QByteArray("[a%20b]\nc\\d=1\n%U4E2D=2\n%zz=3\nE%=4\n");
        QTest::newRow("special values") << QByteArray(
            "r=@Rect(1 2 3 4)\np=@Point(5 6)\ns=@Size(7 8)\nb=@ByteArray(x\\0y)\n@=@@at\n");
        QTest::newRow("bom and utf-8") << QByteArray("\xef\xbb\xbf[\xc3\xa4]\nk=\xe4\xb8\xad\n");
        QTest::newRow("damaged") << QByteArray("[open\nno equals here\nk=v\n[x]\n");
        QTest::newRow("repeated") << QByteArray("[a]\nk=1\n[b]\nk=2\n[a]\nk=3\nk=4\n");
        QTest::newRow("latin-1 escapes") << QByteArray("k=caf\\xe9\nn=\\x4e2d\n");
    }
    void readsWhatQtReads()
    {
        QFETCH(QByteArray, text);
        QSettings::SettingsMap ours;
        ini::parse(text, ours);
        static int n = 1000;
        QCOMPARE(ours, readByQt(dir, text, ++n));
    }
};

QTEST_GUILESS_MAIN(TestIniText)
#include "tst_ini_text.moc"
