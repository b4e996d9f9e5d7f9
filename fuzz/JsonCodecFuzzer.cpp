// Feeds arbitrary bytes to the payload parser, once as UTF-8 (what a drop
// delivers) and once as raw UTF-16 code units (lone surrogates, NULs).
// Whatever parses must serialise, and the serialised text must settle: a
// second round trip gives the same text (the first may differ, since an
// exponent double without a point reads back as an integer).
#include "ui/chips/JsonCodec.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void exercise(const QString &text)
{
    bool ok = false;
    const QVariant value = Tintor::JsonCodec::parse(text, ok);
    if (!ok) {
        check(!value.isValid());
        return;
    }
    const QByteArray first = Tintor::JsonCodec::serialize(value, ok);
    check(ok);
    const QVariant again = Tintor::JsonCodec::parse(QString::fromUtf8(first), ok);
    check(ok);
    const QByteArray second = Tintor::JsonCodec::serialize(again, ok);
    check(ok);
    const QByteArray third = Tintor::JsonCodec::serialize(Tintor::JsonCodec::parse(QString::fromUtf8(second), ok));
    check(ok);
    check(third == second);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    exercise(QString::fromUtf8(bytes));
    exercise(QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2));
    return 0;
}
