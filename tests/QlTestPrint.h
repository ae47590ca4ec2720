// Printing without a printer: a print target that records each page into an
// enhanced metafile, a reader that turns a page's records back into texts,
// rectangles, lines, fills, fonts and bitmaps, and a page rendered to PNG.
//
//   MetafilePrinter printer;                 // A4 at the screen's resolution
//   MyPrinterDraw(printer.target(), &data);  // the printer's drawing core
//   printer.finish();
//   EmfRecords page = printer.records(0);
//   EXPECT_TRUE(page.hasText("Page 1 of 2"));
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "print/QlPrint.h"

struct EmfText {
    int x, y;              // reference point, device units
    int right;             // x + the advances of its characters
    std::string text;
    UINT options;          // ETO_CLIPPED, ...
    RECT clip;             // DrawText's rectangle when clipped
    int fontHeight;        // lfHeight of the selected font, 0 for the stock font
    std::string fontFace;
};

struct EmfPolyline {
    std::vector<POINT> points;
};

struct EmfFont {
    int height;
    int weight;
    std::string face;
};

struct EmfBitmap {
    RECT dest;             // left, top, right, bottom on the page
    int srcWidth, srcHeight;
};

struct EmfRecords {
    std::vector<EmfText> texts;
    std::vector<RECT> rectangles;     // Rectangle, as its arguments were
    std::vector<EmfPolyline> polylines;
    std::vector<RECT> fills;          // FillRect / PatBlt
    std::vector<EmfFont> fonts;       // fonts selected into the page
    std::vector<EmfBitmap> bitmaps;   // StretchBlt, BitBlt with a source, StretchDIBits
    int fontsDeleted = 0;             // DeleteObject of a font the page used

    // The texts in drawing order, one per line.
    std::string allText() const;
    bool hasText(const std::string &text) const;
    // The first text record equal to text, NULL when none.
    const EmfText *findText(const std::string &text) const;
};

// A cell text drawn whole: the run of text records that, in drawing order
// and joined by blanks, spell text (one record, or the lines of a wrapped
// cell), as boxes on the page (the reference point down one line of the
// record's font).  Empty when no run spells it.
std::vector<RECT> QlTestTextBoxes(const EmfRecords &page, const std::string &text);
// The first ruled line (a two-point polyline or a rectangle's side) that
// runs through one of the boxes, as a description; "" when none does.
std::string QlTestRuleThroughBoxes(const EmfRecords &page, const std::vector<RECT> &boxes);
// Both at once: "" when text stands whole on the page and no rule crosses
// it, else what is wrong.
std::string QlTestCellTextProblem(const EmfRecords &page, const std::string &text);

// Reads the records of one page.
EmfRecords QlTestReadEmf(HENHMETAFILE emf);

// Paper figures of an A4 page at the resolution of the screen, which every
// metafile here refers to: no physical offsets.
QlPrintCaps QlTestA4Caps(void);

// A QlPrintTarget that records one enhanced metafile per page.  Its page
// break closes the page's metafile and opens the next one, carrying the
// selected font, pen, brush, text colour, background mode and text
// alignment over, as a printer keeps them between pages.
class MetafilePrinter {
public:
    explicit MetafilePrinter(const QlPrintCaps &caps = QlTestA4Caps());
    ~MetafilePrinter();
    MetafilePrinter(const MetafilePrinter &) = delete;
    MetafilePrinter &operator=(const MetafilePrinter &) = delete;

    QlPrintTarget *target() { return &target_; }
    HDC dc() const { return target_.dc; }
    // Ends the last page; call it before reading pages.
    void finish();
    // Makes the next page fail to start (QlPrintNextPage then answers 0).
    void refuseNextPage() { refuse_ = true; }

    size_t pageCount() const { return pages_.size(); }
    HENHMETAFILE page(size_t index) const { return pages_.at(index); }
    EmfRecords records(size_t index) const { return QlTestReadEmf(pages_.at(index)); }
    // Plays the page into a white bitmap of the paper's size and saves it as
    // PNG (through a BMP file and ImageMagick's convert).
    bool savePng(size_t index, const std::string &nativePngPath) const;

private:
    static int NextPage(QlPrintTarget *target);
    HDC openPage();

    QlPrintCaps caps_;
    QlPrintTarget target_ = {};
    std::vector<HENHMETAFILE> pages_;
    bool refuse_ = false;
};

// The faces printed pages are laid out for.  Pages are drawn in "Arial" and
// in the device's default face (an empty face name), both of which must
// measure as Arial does; the test prefix maps them to Liberation Sans
// (tools/fonts.reg), whose widths are Arial's.  QlTestFaceProblem answers ""
// when the face Wine picks for the name has the metrics, else a text naming
// the face it picked.  The MetafilePrinter checks the page faces once and
// throws that text, so that a page test on a machine without the project's
// fonts fails on the face rather than on a text it cannot find.
enum class QlTestMetrics { Arial, CourierNew };
std::string QlTestFaceProblem(const char *face, QlTestMetrics metrics);
std::string QlTestPageFontProblem(void);

// A company with every detail set and the tax-number and business-number
// options on (all other options off, no cell margins): Acme Ltd, 1 High
// Street, Springfield, SP1 2AB, "TAX No:" GB123456, "ABN:" 99 888, Tel
// 0123 456, sales@acme.test, www.acme.test.
QlPrintStyleRec QlTestSampleStyle(void);

// The folder for pictures a person looks at after a test run
// (QL_ARTIFACT_DIR, made when missing), as a native path; "" when unset.
std::string QlTestArtifactDir(void);
