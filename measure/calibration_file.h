#pragma once

#include "workspace_state.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace verdalis {

// A calibration as it is kept between runs: real units per display millimetre,
// the unit's name and the four notes.
struct Calibration {
    double sizeRatio = 1.0;
    QString unitName;
    CalibrationNotes notes;

    bool operator==(const Calibration &o) const
    {
        return sizeRatio == o.sizeRatio && unitName == o.unitName && notes == o.notes;
    }
};

// Reader and writer of calibration files (".clb"): six quoted lines ending in
// CR LF, single-byte (Latin-1) text, in the order size ratio, unit name,
// size-ratio note, scanner name, resolution, other notes. The size ratio is
// written with up to 15 significant digits in the user's locale (more only when
// 15 would read back as another number) and read with either decimal separator.
// A field that cannot be written plainly (line break, double quote, control
// character, a character outside Latin-1) is escaped behind a marker; plain
// files of earlier versions read as before. The format is described in
// CLB_FORMAT.md. A size ratio or unit that calibration_check.h refuses makes the
// whole file refused.
//
// No widgets: the command-line analyser reads calibration files with it too.
class CalibrationFile {
public:
    // The field prefix that marks an escaped field.
    static const QString kEscapeMarker;

    // The bytes of a calibration file.
    static QByteArray encode(const Calibration &calibration);
    // Parses the bytes of a calibration file. On failure returns nothing and puts
    // the reason, naming the file as given, in *error.
    static std::optional<Calibration>
    decode(const QByteArray &bytes, QString *error,
           const QString &fileName = QStringLiteral("the calibration file"));

    // Writes (creates or replaces) the file safely (see writeFileSafely). On
    // failure puts the reason, naming the path, in *error.
    static bool write(const QString &path, const Calibration &calibration, QString *error);
    // Reads the file whole (a regular file of at most 1 MB), closes it and
    // parses it. On failure puts the reason, naming the path, in *error.
    static std::optional<Calibration> read(const QString &path, QString *error);

    // One field as it is written between its quotes, and back.
    static QByteArray encodeField(const QString &text);
    static QString decodeField(const QString &text);
};

} // namespace verdalis
