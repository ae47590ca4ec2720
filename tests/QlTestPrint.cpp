#include "QlTestPrint.h"
#include "QlTestPlatform.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <map>
#include <stdexcept>

namespace {

std::string Narrow(const WCHAR *text, int length)
{
    if (length <= 0) return "";
    int size = WideCharToMultiByte(1252, 0, text, length, NULL, 0, NULL, NULL);
    std::string out(size, '\0');
    WideCharToMultiByte(1252, 0, text, length, &out[0], size, NULL, NULL);
    return out;
}

struct ReadState {
    EmfRecords *out;
    std::map<DWORD, int> fontOfHandle;   // handle-table index -> fonts index
    int currentFont = -1;
};

void ReadText(ReadState *state, const EMREXTTEXTOUTW *record)
{
    const EMRTEXT &t = record->emrtext;
    const BYTE *base = (const BYTE *)record;
    EmfText text;
    text.x = t.ptlReference.x;
    text.y = t.ptlReference.y;
    text.text = Narrow((const WCHAR *)(base + t.offString), (int)t.nChars);
    text.options = t.fOptions;
    text.clip = {t.rcl.left, t.rcl.top, t.rcl.right, t.rcl.bottom};
    int advance = 0;
    if (t.offDx)
        for (DWORD i = 0; i < t.nChars; i++) advance += ((const INT *)(base + t.offDx))[i];
    text.right = text.x + advance;
    text.fontHeight = 0;
    if (state->currentFont >= 0) {
        text.fontHeight = state->out->fonts[state->currentFont].height;
        text.fontFace = state->out->fonts[state->currentFont].face;
    }
    state->out->texts.push_back(text);
}

void ReadPolyline(ReadState *state, const ENHMETARECORD *record)
{
    EmfPolyline line;
    if (record->iType == EMR_POLYLINE16) {
        const EMRPOLYLINE16 *p = (const EMRPOLYLINE16 *)record;
        for (DWORD i = 0; i < p->cpts; i++) line.points.push_back({p->apts[i].x, p->apts[i].y});
    } else {
        const EMRPOLYLINE *p = (const EMRPOLYLINE *)record;
        for (DWORD i = 0; i < p->cptl; i++) line.points.push_back({p->aptl[i].x, p->aptl[i].y});
    }
    state->out->polylines.push_back(line);
}

int CALLBACK ReadRecord(HDC, HANDLETABLE *, const ENHMETARECORD *record, int, LPARAM param)
{
    ReadState *state = (ReadState *)param;
    EmfRecords *out = state->out;
    switch (record->iType) {
    case EMR_EXTTEXTOUTW:
        ReadText(state, (const EMREXTTEXTOUTW *)record);
        break;
    case EMR_RECTANGLE: {
        // The record holds the box inclusive of its right and bottom edges.
        const RECTL &r = ((const EMRRECTANGLE *)record)->rclBox;
        out->rectangles.push_back({r.left, r.top, r.right + 1, r.bottom + 1});
        break;
    }
    case EMR_POLYLINE:
    case EMR_POLYLINE16:
        ReadPolyline(state, record);
        break;
    case EMR_BITBLT: {
        const EMRBITBLT *b = (const EMRBITBLT *)record;
        if (b->cbBmiSrc == 0)
            out->fills.push_back({b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest});
        else
            out->bitmaps.push_back({{b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest}, b->cxDest,
                                    b->cyDest});
        break;
    }
    case EMR_STRETCHBLT: {
        const EMRSTRETCHBLT *b = (const EMRSTRETCHBLT *)record;
        out->bitmaps.push_back(
            {{b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest}, b->cxSrc, b->cySrc});
        break;
    }
    case EMR_STRETCHDIBITS: {
        const EMRSTRETCHDIBITS *b = (const EMRSTRETCHDIBITS *)record;
        out->bitmaps.push_back(
            {{b->xDest, b->yDest, b->xDest + b->cxDest, b->yDest + b->cyDest}, b->cxSrc, b->cySrc});
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const EMREXTCREATEFONTINDIRECTW *f = (const EMREXTCREATEFONTINDIRECTW *)record;
        const LOGFONTW &lf = f->elfw.elfLogFont;
        out->fonts.push_back({lf.lfHeight, lf.lfWeight, Narrow(lf.lfFaceName, lstrlenW(lf.lfFaceName))});
        state->fontOfHandle[f->ihFont] = (int)out->fonts.size() - 1;
        break;
    }
    case EMR_SELECTOBJECT: {
        DWORD handle = ((const EMRSELECTOBJECT *)record)->ihObject;
        if (handle & 0x80000000) {
            if (handle == (0x80000000 | SYSTEM_FONT) || handle == (0x80000000 | DEVICE_DEFAULT_FONT) ||
                handle == (0x80000000 | DEFAULT_GUI_FONT) || handle == (0x80000000 | ANSI_VAR_FONT) ||
                handle == (0x80000000 | ANSI_FIXED_FONT) || handle == (0x80000000 | OEM_FIXED_FONT) ||
                handle == (0x80000000 | SYSTEM_FIXED_FONT))
                state->currentFont = -1;
        } else {
            auto font = state->fontOfHandle.find(handle);
            if (font != state->fontOfHandle.end()) state->currentFont = font->second;
        }
        break;
    }
    case EMR_DELETEOBJECT: {
        DWORD handle = ((const EMRDELETEOBJECT *)record)->ihObject;
        auto font = state->fontOfHandle.find(handle);
        if (font != state->fontOfHandle.end()) {
            out->fontsDeleted++;
            if (state->currentFont == font->second) state->currentFont = -1;
            state->fontOfHandle.erase(font);
        }
        break;
    }
    default:
        break;
    }
    return 1;
}

bool WriteBmp(HDC dc, HBITMAP bitmap, int width, int height, const std::string &path)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> bits((size_t)stride * height);
    if (!GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS)) return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + (DWORD)bits.size();
    FILE *out = fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
              fwrite(bits.data(), bits.size(), 1, out) == 1;
    return fclose(out) == 0 && ok;
}

}  // namespace

std::string EmfRecords::allText() const
{
    std::string all;
    for (const EmfText &t : texts) all += t.text + "\n";
    return all;
}

bool EmfRecords::hasText(const std::string &text) const
{
    return findText(text) != nullptr;
}

const EmfText *EmfRecords::findText(const std::string &text) const
{
    for (const EmfText &t : texts)
        if (t.text == text) return &t;
    return nullptr;
}

EmfRecords QlTestReadEmf(HENHMETAFILE emf)
{
    EmfRecords records;
    ReadState state;
    state.out = &records;
    EnumEnhMetaFile(NULL, emf, ReadRecord, &state, NULL);
    return records;
}

QlPrintCaps QlTestA4Caps(void)
{
    HDC screen = GetDC(NULL);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    QlPrintCaps caps = {};
    caps.logPixelsX = dpiX;
    caps.logPixelsY = dpiY;
    caps.physicalWidth = MulDiv(2100, dpiX, 254);
    caps.physicalHeight = MulDiv(2970, dpiY, 254);
    caps.horzRes = caps.physicalWidth;
    caps.vertRes = caps.physicalHeight;
    caps.horzSize = 210;
    caps.vertSize = 297;
    return caps;
}

// Arial's advance widths of the printable ASCII characters, ' ' to '~', in
// thousandths of the em (Liberation Sans has the same).
const int kArialWidths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  556, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667, 611, 778,
    722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944,  667, 667, 611, 278,
    278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500,  222, 833, 556, 556,
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};

std::string QlTestFaceProblem(const char *face, QlTestMetrics metrics)
{
    HDC dc = CreateCompatibleDC(NULL);
    LOGFONTA lf = {};
    lf.lfHeight = -1000;   // one em = 1000 pixels
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ previous = SelectObject(dc, font);
    // The face behind the name: a replaced face keeps the asked-for name in
    // GetTextFace, the outline metrics name the font file's face.
    char picked[LF_FACESIZE * 2] = "";
    GetTextFaceA(dc, sizeof picked, picked);
    std::vector<char> otm(GetOutlineTextMetricsA(dc, 0, NULL) + 1);
    if (otm.size() > sizeof(OUTLINETEXTMETRICA) &&
        GetOutlineTextMetricsA(dc, (UINT)otm.size(), (OUTLINETEXTMETRICA *)otm.data())) {
        const OUTLINETEXTMETRICA *o = (const OUTLINETEXTMETRICA *)otm.data();
        snprintf(picked, sizeof picked, "%s", otm.data() + (size_t)o->otmpFaceName);
    }
    INT widths[95] = {};
    const BOOL measured = GetCharWidth32A(dc, ' ', '~', widths);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);

    const char *expected = metrics == QlTestMetrics::Arial ? "Arial" : "Courier New";
    for (int c = 0; c < 95; c++) {
        const int want = metrics == QlTestMetrics::Arial ? kArialWidths[c] : 600;
        if (measured && abs(widths[c] - want) <= 1) continue;
        char text[512];
        snprintf(text, sizeof text,
                 "the face \"%s\" is drawn in \"%s\", which does not measure as %s ('%c' is %d/1000 em wide, "
                 "not %d): printed pages are laid out for %s's metrics; install fonts-liberation "
                 "(tools/packages.txt) and map the faces in the Wine prefix (tools/fonts.reg)",
                 face, picked, expected, ' ' + c, measured ? widths[c] : -1, want, expected);
        return text;
    }
    return "";
}

std::string QlTestPageFontProblem(void)
{
    static const std::string problem = [] {
        std::string text = QlTestFaceProblem("Arial", QlTestMetrics::Arial);
        return text.empty() ? QlTestFaceProblem("", QlTestMetrics::Arial) : text;
    }();
    return problem;
}

MetafilePrinter::MetafilePrinter(const QlPrintCaps &caps) : caps_(caps)
{
    const std::string fonts = QlTestPageFontProblem();
    if (!fonts.empty()) throw std::runtime_error(fonts);
    QlPrintPageFromCaps(&caps_, &target_.page, &target_.pxPerMmX, &target_.pxPerMmY);
    target_.nextPage = NextPage;
    target_.pageData = this;
    target_.dc = openPage();
    target_.pageCount = 1;
}

MetafilePrinter::~MetafilePrinter()
{
    finish();
    for (HENHMETAFILE page : pages_) DeleteEnhMetaFile(page);
}

HDC MetafilePrinter::openPage()
{
    // The frame in hundredths of a millimetre: the paper.
    RECT frame = {0, 0, MulDiv(caps_.physicalWidth, 2540, caps_.logPixelsX),
                  MulDiv(caps_.physicalHeight, 2540, caps_.logPixelsY)};
    return CreateEnhMetaFileA(NULL, NULL, &frame, "Quillory test\0page\0");
}

void MetafilePrinter::finish()
{
    if (!target_.dc) return;
    pages_.push_back(CloseEnhMetaFile(target_.dc));
    target_.dc = NULL;
}

int MetafilePrinter::NextPage(QlPrintTarget *target)
{
    MetafilePrinter *self = (MetafilePrinter *)target->pageData;
    if (self->refuse_) {
        self->refuse_ = false;
        return 0;
    }
    HDC old = target->dc;
    HDC next = self->openPage();
    if (!next) return 0;
    SelectObject(next, GetCurrentObject(old, OBJ_FONT));
    SelectObject(next, GetCurrentObject(old, OBJ_PEN));
    SelectObject(next, GetCurrentObject(old, OBJ_BRUSH));
    SetTextColor(next, GetTextColor(old));
    SetBkMode(next, GetBkMode(old));
    SetTextAlign(next, GetTextAlign(old));
    self->pages_.push_back(CloseEnhMetaFile(old));
    target->dc = next;
    return 1;
}

bool MetafilePrinter::savePng(size_t index, const std::string &nativePngPath) const
{
    if (index >= pages_.size() || nativePngPath.empty()) return false;
    const int width = caps_.physicalWidth, height = caps_.physicalHeight;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(NULL, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    PlayEnhMetaFile(memory, pages_[index], &all);
    SelectObject(memory, previous);

    std::string bmp = nativePngPath + ".bmp";
    bool ok = WriteBmp(memory, bitmap, width, height, bmp);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!ok) {
        remove(bmp.c_str());
        return false;
    }
    return QlTestBmpToPng(bmp, nativePngPath);
}

QlPrintStyleRec QlTestSampleStyle(void)
{
    QlPrintStyleRec style = {};
    strcpy(style.companyName, "Acme Ltd");
    strcpy(style.address[0], "1 High Street");
    strcpy(style.address[1], "Springfield");
    strcpy(style.address[2], "SP1 2AB");
    strcpy(style.taxNumber, "GB123456");
    strcpy(style.taxNoLabel, "TAX No:");
    strcpy(style.telephone, "0123 456");
    strcpy(style.email, "sales@acme.test");
    strcpy(style.webAddress, "www.acme.test");
    strcpy(style.businessLabel, "ABN:");
    strcpy(style.businessNumber, "99 888");
    style.printTaxNumber = 1;
    style.printRegNumber = 1;
    return style;
}

std::string QlTestArtifactDir(void)
{
    const char *dir = getenv("QL_ARTIFACT_DIR");
    if (!dir || !*dir) return "";
    const std::string folder = QlTestWindowsPath(dir);
    CreateDirectoryA(folder.c_str(), NULL);
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return "";
    return dir;
}

// ---------------------------------------------------------------------------
// Cell texts drawn whole

static RECT TextBox(const EmfText &t)
{
    const int em = t.fontHeight < 0 ? -t.fontHeight : t.fontHeight > 0 ? t.fontHeight * 9 / 10 : 13;
    // Arial's ascent and descent together: 1.117 em.
    return {t.x, t.y, t.right, t.y + em * 1117 / 1000};
}

std::vector<RECT> QlTestTextBoxes(const EmfRecords &page, const std::string &text)
{
    std::vector<RECT> boxes;
    for (size_t i = 0; i < page.texts.size(); i++) {
        std::string joined;
        boxes.clear();
        for (size_t j = i; j < page.texts.size() && joined.size() < text.size(); j++) {
            if (!joined.empty()) joined += " ";
            // DrawText's wrapped lines keep the blank they broke at.
            std::string piece = page.texts[j].text;
            while (!piece.empty() && piece.back() == ' ') piece.pop_back();
            joined += piece;
            boxes.push_back(TextBox(page.texts[j]));
            if (text.compare(0, joined.size(), joined) != 0) break;
            if (joined == text) return boxes;
        }
    }
    boxes.clear();
    return boxes;
}

static bool Crosses(const RECT &b, int x1, int y1, int x2, int y2)
{
    if (y1 == y2) {
        const int lo = x1 < x2 ? x1 : x2, hi = x1 < x2 ? x2 : x1;
        return y1 > b.top && y1 < b.bottom && hi > b.left && lo < b.right;
    }
    if (x1 == x2) {
        const int lo = y1 < y2 ? y1 : y2, hi = y1 < y2 ? y2 : y1;
        return x1 > b.left && x1 < b.right && hi > b.top && lo < b.bottom;
    }
    return false;
}

std::string QlTestRuleThroughBoxes(const EmfRecords &page, const std::vector<RECT> &boxes)
{
    char text[200];
    for (const RECT &b : boxes) {
        for (const EmfPolyline &p : page.polylines)
            for (size_t k = 1; k < p.points.size(); k++)
                if (Crosses(b, p.points[k - 1].x, p.points[k - 1].y, p.points[k].x, p.points[k].y)) {
                    snprintf(text, sizeof text, "rule (%ld,%ld)-(%ld,%ld) through text box (%ld,%ld,%ld,%ld)",
                             (long)p.points[k - 1].x, (long)p.points[k - 1].y, (long)p.points[k].x,
                             (long)p.points[k].y, (long)b.left, (long)b.top, (long)b.right, (long)b.bottom);
                    return text;
                }
        for (const RECT &r : page.rectangles) {
            const int sides[4][4] = {{r.left, r.top, r.right, r.top},
                                     {r.left, r.bottom, r.right, r.bottom},
                                     {r.left, r.top, r.left, r.bottom},
                                     {r.right, r.top, r.right, r.bottom}};
            for (const auto &s : sides)
                if (Crosses(b, s[0], s[1], s[2], s[3])) {
                    snprintf(text, sizeof text, "frame side through text box (%ld,%ld,%ld,%ld)", (long)b.left,
                             (long)b.top, (long)b.right, (long)b.bottom);
                    return text;
                }
        }
    }
    return "";
}

std::string QlTestCellTextProblem(const EmfRecords &page, const std::string &text)
{
    std::vector<RECT> boxes = QlTestTextBoxes(page, text);
    if (boxes.empty()) return "not drawn whole: " + text;
    return QlTestRuleThroughBoxes(page, boxes);
}
