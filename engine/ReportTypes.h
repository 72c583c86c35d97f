#pragma once

// Types the report engine shares between its page model, its canvas output
// and its report file: the enumerations (their ordinals are what a report
// file stores), the engine's messages and the drawing state of a page.

#include <QString>

#include <cstdint>
#include <vector>

namespace engine {

enum TPrintUnits : uint8_t { unInch, unMM, unCM, unPoint, unUser };
enum TLineHeightMethod : uint8_t { lhmLinesPerInch, lhmFont };
enum TBKMode : uint8_t { bkTransparent, bkOpaque };
enum TStreamMode : uint8_t { smMemory, smFile, smUser };
enum TOrientation : uint8_t { poPortrait, poLandScape, poDefault };
enum TAccuracyMethod : uint8_t { amPositioning, amAppearance };
enum TMarginMethod : uint8_t { mmScaled, mmFixed };

// Alignment of text inside a tab cell or across the print area.
enum TextAlignment : uint8_t { taCenter = 0, taLeft = 1, taRight = 2 };

// Bits of the lines argument of AddTabStop.
enum TabLines : uint8_t { tlLeft = 1, tlRight = 2, tlTop = 4, tlBottom = 8 };

enum BrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum PenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum PenMode : uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor,
};
enum FontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// A color as the report file stores it: 0x00BBGGRR.
using ColorRef = int32_t;
inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kWhite = 0xFFFFFF;

inline constexpr const char* kEngineVersion = "1.0";

// The engine's messages.
inline constexpr const char* kNotPrinting = "Invalid method call.  Report engine is not printing.";
inline constexpr const char* kAlreadyPrinting = "Invalid method call.  Report engine already printing.";
inline constexpr const char* kCanvasNotActive = "Error!  Canvas not yet active.";
inline constexpr const char* kNoPrinters = "No printers are defined, aborting print job.";
inline constexpr const char* kCopyRectInFileMode = "CopyRect() not supported in file mode.";
inline constexpr const char* kFilerOwnerMustBeForm = "TReportFiler.Owner must be a TForm if no printers are defined.";
inline constexpr const char* kStreamInitError = "Error initializing stream";
inline constexpr const char* kInputStreamInitError = "Error initializing input stream";
inline constexpr const char* kNoScrollBox = "ScrollBox must be assigned for FilePreview component";

// A graphic as the report file carries it: its kind and its own stream form
// (for bitmaps, the bytes of an image file Qt reads).
struct ReportGraphic {
    enum Kind : uint8_t { Bitmap = 1, Metafile = 2, Icon = 3, Other = 4 };
    uint8_t kind = Bitmap;
    std::vector<uint8_t> bytes;
    bool operator==(const ReportGraphic&) const = default;
};

struct BrushState {
    ColorRef color = kBlack;
    uint8_t style = bsClear;
    bool hasBitmap = false;
    ReportGraphic bitmap;
    bool operator==(const BrushState&) const = default;
};

struct FontState {
    QString name = QStringLiteral("Arial");
    ColorRef color = kBlack;
    uint8_t pitch = fpDefault;
    double height = 10.0 / 72.0; // absolute character height, inches
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontState&) const = default;
};

struct PenState {
    ColorRef color = kBlack;
    uint8_t mode = pmCopy;
    uint8_t style = psSolid;
    double width = 0; // inches; the job start sets one device dot
    bool operator==(const PenState&) const = default;
};

} // namespace engine
