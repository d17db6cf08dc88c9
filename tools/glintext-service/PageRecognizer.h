#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// Reads a whole page with Tesseract: automatic page segmentation, so that columns and
// blocks come out one after another in reading order, separated by blank lines.
// Safe to call from several threads at once: each thread keeps its own warm engines.
namespace PageRecognizer {
// The text of `image`, or nothing when no engine for `languages` can be started.
std::optional<QString> read(const QImage& image, const QStringList& languages);
} // namespace PageRecognizer
