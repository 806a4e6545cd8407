#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace verdalis {

class PictureCanvas;

// Pictures with their detection overlay, as files: the window's single save,
// its batch into a folder and the command-line analyser's --overlay all write
// them here, so the same picture and settings give the same pixels.

// File names of a batch's overlay pictures in input order: the line name made
// safe as a file name, ".png", and "-2", "-3"... for line names met before.
QStringList overlayFileNames(const QStringList &lineNames);

enum class OverlayFormat { Png, Jpeg };
// The format a file name asks for: .png, or .jpg/.jpeg (any case); none for
// any other name.
std::optional<OverlayFormat> overlayFormatOf(const QString &path);
// A typed name without an extension gets the one of the chosen format.
QString withOverlaySuffix(const QString &path, OverlayFormat chosen);

// Writes the picture at full resolution in the format its name asks for
// (PNG when it asks for none), safely: a temporary file beside it, checked, then
// renamed; on failure nothing is left and *error says why (without the path).
bool writeOverlayPicture(const QImage &picture, const QString &path, QString *error);

// Whether the canvas still shows the picture just analysed with the dots of
// its analysis and nothing else: a new picture, a measuring line, the grid or
// a brush stroke drawn since make it unavailable until the next analysis ends.
class AnalysedOverlay : public QObject {
    Q_OBJECT
public:
    explicit AnalysedOverlay(const PictureCanvas &canvas, QObject *parent = nullptr);

    bool isAvailable() const { return m_available; }
    // The analysed picture with its overlay; null when unavailable.
    QImage picture() const;

public slots:
    // An analysis has just ended: what the canvas shows is its overlay.
    void analysisFinished();

signals:
    void availabilityChanged(bool available);

private:
    void withdraw();

    const PictureCanvas &m_canvas;
    bool m_available = false;
};

} // namespace verdalis
