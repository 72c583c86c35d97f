#pragma once

// Qt's PDF writer gives every page four small objects of its own besides its
// contents: a copy of the one resource dictionary all pages share, an empty
// list of annotations, the length of the page's stream and the paper size.
// At a page a second they make a long report a tenth larger than it need
// be. The compaction rewrites such a file with one resource dictionary, no
// empty lists, lengths written in place and the paper size said once, the
// pages' drawing copied byte for byte.

#include <QString>

class QIODevice;

namespace engine {

enum class PdfCompaction {
    Compacted,
    Unchanged, // a file of another shape: copied as it is
};

// Reads the PDF file `in` (which must allow seeking) and writes it, compacted
// when it has the plain shape Qt writes, to `out`. Throws std::runtime_error
// when `in` cannot be read or `out` cannot be written.
PdfCompaction compactPdf(QIODevice& in, QIODevice& out);

// Compacts a PDF file in place. The file is whole either way: when it cannot
// be rewritten (no room for the copy) it stays as it was.
void compactPdfFile(const QString& path);

} // namespace engine
