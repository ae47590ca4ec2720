// Reading PDF files back with real tools: poppler's pdfinfo and pdftotext
// for pages, texts and word positions, python3-fitz (/usr/bin/python3 with
// tests/QlTestPdfShapes.py) for lines, rectangles and images, qpdf for the
// file's structure, pdftoppm for a picture of a page.  Paths are native
// (QlPathToNative of the test's Windows path).  Every position is in PDF
// points with y upwards, as the PDF helpers draw.  The tools are Unix
// programs: a test that reads PDF files back starts with
// QL_TEST_REQUIRE_UNIX() (QlTestPlatform.h), which skips it in the Windows
// build.
#pragma once

#include "QlTestPlatform.h"

#include <string>
#include <vector>

struct PdfInfo {
    int pages = 0;
    double width = 0, height = 0;   // of the first page, points
};
bool QlTestPdfInfo(const std::string &pdf, PdfInfo *info);

// pdftotext -layout of one page (from 1), or of all pages with 0.
std::string QlTestPdfText(const std::string &pdf, int page = 0);

// The texts of the list that the PDF file's text (pdftotext -layout) lacks,
// one a line; "" when it holds them all.  A Windows program cannot run
// pdftotext: it leaves the file and the texts in the artifacts folder as
// <name>.pdf and <name>.pdf.expect (one text a line), which
// tools/test-windows.sh reads back on the Unix side, and answers "" when
// they were left there.
std::string QlTestPdfMissingTexts(const std::string &pdf, const std::vector<std::string> &texts,
                                  const std::string &name);

struct PdfWord {
    int page;                 // from 1
    double x0, y0, x1, y1;    // y0 the bottom, y1 the top
    std::string text;
};
// pdftotext -bbox-layout: every word with its box.
std::vector<PdfWord> QlTestPdfWords(const std::string &pdf);
// The words of one line of text (same page, tops within half a point) in
// order from the left, joined by blanks.
std::vector<std::string> QlTestPdfLines(const std::vector<PdfWord> &words);

struct PdfShape {
    int page;                 // from 1
    std::string kind;         // "line", "rect" or "image"
    double x0, y0, x1, y1;    // a line's ends; a rectangle's or image's corners, y0 <= y1
    double width;             // stroke width, 0 for images
};
std::vector<PdfShape> QlTestPdfShapes(const std::string &pdf);

// A cell text drawn whole on page: every word of text found as a word of
// its own, from the topmost of the first word, in reading order (each further down, or on the same line
// further right), and no line or rectangle side through a word's box.  ""
// when so, else what is wrong.
std::string QlTestPdfCellTextProblem(const std::vector<PdfWord> &words, const std::vector<PdfShape> &shapes, int page,
                                     const std::string &text);

// qpdf --check finds no damage.
bool QlTestPdfCheck(const std::string &pdf, std::string *report = nullptr);
// A PNG picture of the page (pdftoppm at the given resolution).
bool QlTestPdfToPng(const std::string &pdf, int page, int dpi, const std::string &png);
