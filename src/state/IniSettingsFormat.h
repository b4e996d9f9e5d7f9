#pragma once

#include <QByteArray>
#include <QSettings>

namespace Tintor {

// The user state's settings format: the same INI text, file name and escapes
// as the toolkit's own INI format, so files of either read the same in the
// other, but with a write that can fail honestly. The toolkit's INI writer
// hands its text to a save file that buffers it and commits whatever reached
// the disk, so a full disk or a file-size limit replaced the whole state with
// its first part. Here the text is built in memory, written, flushed and
// checked; a failure makes the store keep the old file.
class IniSettingsFormat {
public:
    // Registered once per process under the extension "ini".
    static QSettings::Format format();

    // The settings of an INI text (keys as "group/key", top-level keys of
    // [General] without a group). Lines that are no key are skipped, as the
    // toolkit skips them.
    static QSettings::SettingsMap parse(const QByteArray &text);
    // The INI text of `map`: [General] first, then each group in key order.
    static QByteArray text(const QSettings::SettingsMap &map);

    // Whether the last write of this format in the process failed and is
    // at most `milliseconds` old.
    static bool writeFailedWithin(qint64 milliseconds);

private:
    static bool read(QIODevice &device, QSettings::SettingsMap &map);
    static bool write(QIODevice &device, const QSettings::SettingsMap &map);
};

} // namespace Tintor
