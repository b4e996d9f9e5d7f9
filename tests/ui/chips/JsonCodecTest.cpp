#include "ui/chips/JsonCodec.h"

#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::JsonCodec;

class JsonCodecTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void serializeWritesTheFixedTextForms_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("expected");

        QVariantMap payload;
        payload.insert(QStringLiteral("from"), 1);
        payload.insert(QStringLiteral("colorId"), qint64(42));
        payload.insert(QStringLiteral("collectuionUuid"), QStringLiteral("{a}"));

        QTest::newRow("invalid") << QVariant() << QByteArray("null");
        QTest::newRow("empty list") << QVariant(QVariantList()) << QByteArray("[  ]");
        QTest::newRow("list") << QVariant(QVariantList { 1, QStringLiteral("a"), true })
                              << QByteArray("[ 1, \"a\", true ]");
        QTest::newRow("string list") << QVariant(QStringList { QStringLiteral("x"), QStringLiteral("y") })
                                     << QByteArray("[ \"x\", \"y\" ]");
        QTest::newRow("map in key order") << QVariant(payload)
                                          << QByteArray("{ \"collectuionUuid\" : \"{a}\", \"colorId\" : 42, "
                                                        "\"from\" : 1 }");
        QTest::newRow("hash") << QVariant(QVariantHash { { QStringLiteral("k"), false } })
                              << QByteArray("{ \"k\" : false }");
        QTest::newRow("double 2") << QVariant(2.0) << QByteArray("2.0");
        QTest::newRow("double 0.5") << QVariant(0.5) << QByteArray("0.5");
        QTest::newRow("double 1e21") << QVariant(1e21) << QByteArray("1e+21");
        QTest::newRow("unsigned 64") << QVariant(quint64(18446744073709551615ULL))
                                     << QByteArray("18446744073709551615");
        QTest::newRow("signed 64") << QVariant(qint64(-9223372036854775807LL - 1))
                                   << QByteArray("-9223372036854775808");
        QTest::newRow("unsigned 32") << QVariant(quint32(4294901760U)) << QByteArray("4294901760");
        QTest::newRow("uuid as text") << QVariant(QUuid(QStringLiteral("{00000000-0000-0000-0000-000000000001}")))
                                      << QByteArray("\"{00000000-0000-0000-0000-000000000001}\"");
        QTest::newRow("escapes") << QVariant(QStringLiteral("a\\b\"c\bd\fe\nf\rg\th/i\x01"))
                                 << QByteArray("\"a\\\\b\\\"c\\bd\\fe\\nf\\rg\\th/i\x01\"");
        QTest::newRow("non-ASCII as UTF-8")
            << QVariant(QStringLiteral("Grün ☂")) << QStringLiteral("\"Grün ☂\"").toUtf8();
        // Values without a text form fail the whole.
        QTest::newRow("size in a list") << QVariant(QVariantList { 1, QVariant::fromValue(QSize(1, 2)) })
                                        << QByteArray();
        QTest::newRow("point in a map") << QVariant(QVariantMap { { QStringLiteral("p"), QPoint(1, 1) } })
                                        << QByteArray();
    }
    void serializeWritesTheFixedTextForms()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, expected);
        bool ok = expected.isNull();
        QCOMPARE(JsonCodec::serialize(value, ok), expected);
        QCOMPARE(ok, !expected.isNull());
    }

    // An invalid expected value: the text does not parse.
    void parseReadsValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("doubled and missing commas")
            << QStringLiteral("[1,,2 3]") << QVariant(QVariantList { quint64(1), quint64(2), quint64(3) });
        QTest::newRow("exponent without point is unsigned 0") << QStringLiteral("1e+21") << QVariant(quint64(0));
        QTest::newRow("double") << QStringLiteral("-0.25") << QVariant(-0.25);
        QTest::newRow("negative integer") << QStringLiteral("-42") << QVariant(qint64(-42));
        QTest::newRow("unsigned integer")
            << QStringLiteral("18446744073709551615") << QVariant(quint64(18446744073709551615ULL));
        QTest::newRow("unconvertible double is 0") << QStringLiteral("1.2.3") << QVariant(0.0);
        QTest::newRow("overflowing double is 0") << QStringLiteral("1.0e999") << QVariant(0.0);
        QTest::newRow("lone minus is 0") << QStringLiteral("-") << QVariant(qint64(0));
        QTest::newRow("words as prefixes")
            << QStringLiteral("[truefalse,nullnull]") << QVariant(QVariantList { true, false, QVariant(), QVariant() });
        QTest::newRow("word followed by letters") << QStringLiteral("truex") << QVariant(true);
        QTest::newRow("trailing text ignored") << QStringLiteral(" \t\r\n7 garbage") << QVariant(quint64(7));
        QTest::newRow("escapes") << QStringLiteral("\"a\\\"\\\\\\/\\b\\f\\n\\r\\t\\q\"")
                                 << QVariant(QStringLiteral("a\"\\/\b\f\n\r\t"));
        QTest::newRow("unicode escape") << QStringLiteral("\"\\u00fc\\u263A\"") << QVariant(QStringLiteral("ü☺"));
        QTest::newRow("bad hex gives code unit 0")
            << QStringLiteral("\"\\u12g4x\"") << QVariant(QString(QChar(0)) + QLatin1Char('x'));
        QTest::newRow("repeated key keeps last")
            << QStringLiteral("{\"a\":1,\"a\":2}") << QVariant(QVariantMap { { QStringLiteral("a"), quint64(2) } });
        QTest::newRow("object without commas")
            << QStringLiteral("{\"a\":1 \"b\":[]}")
            << QVariant(QVariantMap { { QStringLiteral("a"), quint64(1) }, { QStringLiteral("b"), QVariantList() } });
        QTest::newRow("key quote not checked")
            << QStringLiteral("{xk\": true}") << QVariant(QVariantMap { { QStringLiteral("k"), true } });
        QTest::newRow("null") << QStringLiteral("null") << QVariant(QVariant::fromValue(nullptr));
        QTest::newRow("null text") << QString() << QVariant(QVariant::fromValue(nullptr));
        QTest::newRow("empty") << QStringLiteral("") << QVariant();
        QTest::newRow("unterminated object") << QStringLiteral("{\"a\": 1") << QVariant();
        QTest::newRow("unterminated array") << QStringLiteral("[1, 2") << QVariant();
        QTest::newRow("unterminated string") << QStringLiteral("\"abc") << QVariant();
        QTest::newRow("backslash at end") << QStringLiteral("\"abc\\") << QVariant();
        QTest::newRow("short unicode escape") << QStringLiteral("\"\\u12") << QVariant();
        QTest::newRow("key without colon") << QStringLiteral("{\"a\" 1}") << QVariant();
        QTest::newRow("punctuation as value") << QStringLiteral("[1, :]") << QVariant();
        QTest::newRow("unknown word") << QStringLiteral("nul") << QVariant();
        QTest::newRow("closing bracket first") << QStringLiteral("]") << QVariant();
        QTest::newRow("failure inside nested value") << QStringLiteral("{\"a\": [1, {\"b\": }]}") << QVariant();
    }
    void parseReadsValues()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        const bool parses = expected.isValid();
        bool ok = !parses;
        QVariant value = JsonCodec::parse(text, ok);
        QCOMPARE(ok, parses);
        if (expected.userType() == QMetaType::Nullptr)
            expected = QVariant(); // null parses to an invalid value
        QCOMPARE(value.userType(), expected.userType());
        QCOMPARE(value, expected);
    }

    // Outside applications can offer a payload; deep nesting must fail
    // cleanly instead of overflowing the stack.
    void nestingDeeperThanTheLimitFails_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::newRow("arrays") << QStringLiteral("[") << QStringLiteral("]");
        QTest::newRow("objects") << QStringLiteral("{\"k\":") << QStringLiteral("}");
    }
    void nestingDeeperThanTheLimitFails()
    {
        QFETCH(QString, open);
        QFETCH(QString, close);
        const int limit = JsonCodec::kMaxNestingDepth;
        bool ok = false;
        const QVariant deepest = JsonCodec::parse(open.repeated(limit) + QLatin1Char('0') + close.repeated(limit), ok);
        QVERIFY(ok && deepest.isValid());
        QVERIFY(JsonCodec::parse(open.repeated(limit + 1) + QLatin1Char('0') + close.repeated(limit + 1), ok).isNull());
        QVERIFY(!ok);
        // Siblings do not count as nesting.
        const QVariant wide = JsonCodec::parse('[' + QStringLiteral("[]").repeated(limit * 4) + ']', ok);
        QVERIFY(ok);
        QCOMPARE(wide.toList().size(), limit * 4);
    }
};

HUELINK_TEST_MAIN(JsonCodecTest)
#include "JsonCodecTest.moc"
