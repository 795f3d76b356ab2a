#pragma once
// Joining PDF files written by QPdfWriter, page after page, into one. Each
// file's objects are copied byte for byte with new numbers, and one page tree
// takes in all their pages, so joining costs little more than copying the
// files. Only what QPdfWriter writes is understood: one classic
// cross-reference table, no object streams, no incremental updates, a flat
// page tree.

#include <QStringList>

class QIODevice;

namespace quillet {

/// Writes to out the pages of the files at paths, in order, under the first
/// file's catalog (with an archived file's metadata and output intent),
/// document information and identifier. False when a file cannot be read or
/// is not as QPdfWriter writes it, or out cannot be written.
bool joinPdfFiles(const QStringList &paths, QIODevice &out);

} // namespace quillet
