#include "QlTestPdf.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <sstream>

// After the C++ library: windows.h defines min and max.
#include "QlTestPrint.h"

namespace {

std::string Quote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

double Attribute(const std::string &tag, const char *name)
{
    std::string key = std::string(name) + "=\"";
    size_t at = tag.find(key);
    return at == std::string::npos ? 0 : atof(tag.c_str() + at + key.size());
}

std::string Unescape(const std::string &text)
{
    static const struct {
        const char *entity, *text;
    } entities[] = {{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto &e : entities)
            if (text.compare(i, strlen(e.entity), e.entity) == 0) {
                out += e.text;
                i += strlen(e.entity);
                replaced = true;
                break;
            }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace

std::string QlTestPdfMissingTexts(const std::string &pdf, const std::vector<std::string> &texts,
                                  const std::string &name)
{
    std::string missing;
    if (QlTestHasUnix()) {
        const std::string text = QlTestPdfText(pdf);
        for (const std::string &t : texts)
            if (text.find(t) == std::string::npos) missing += t + "\n";
        return missing;
    }
    const std::string dir = QlTestArtifactDir();
    if (dir.empty()) return "no artifacts folder to leave the PDF file in\n";
    const std::string target = QlTestWindowsPath(dir + "/" + name + ".pdf");
    if (!CopyFileA(QlTestWindowsPath(pdf).c_str(), target.c_str(), FALSE)) return "the PDF file could not be copied\n";
    FILE *expect = fopen((target + ".expect").c_str(), "wb");
    if (!expect) return "the expected texts could not be written\n";
    for (const std::string &t : texts) fprintf(expect, "%s\n", t.c_str());
    return fclose(expect) == 0 ? "" : "the expected texts could not be written\n";
}

bool QlTestPdfInfo(const std::string &pdf, PdfInfo *info)
{
    int status = 0;
    std::string text = QlTestRun("pdfinfo " + Quote(pdf) + " 2>/dev/null", &status);
    if (status != 0) return false;
    std::istringstream lines(text);
    std::string line;
    *info = PdfInfo();
    while (std::getline(lines, line)) {
        if (line.rfind("Pages:", 0) == 0) info->pages = atoi(line.c_str() + 6);
        if (line.rfind("Page size:", 0) == 0) sscanf(line.c_str() + 10, " %lf x %lf", &info->width, &info->height);
    }
    return info->pages > 0;
}

std::string QlTestPdfText(const std::string &pdf, int page)
{
    std::string range = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return QlTestRun("pdftotext -layout" + range + " " + Quote(pdf) + " - 2>/dev/null");
}

std::vector<PdfWord> QlTestPdfWords(const std::string &pdf)
{
    std::string html = QlTestRun("pdftotext -bbox-layout " + Quote(pdf) + " - 2>/dev/null");
    std::vector<PdfWord> words;
    int page = 0;
    double height = 0;
    for (size_t at = 0; (at = html.find('<', at)) != std::string::npos;) {
        size_t end = html.find('>', at);
        if (end == std::string::npos) break;
        std::string tag = html.substr(at, end - at + 1);
        if (tag.rfind("<page ", 0) == 0) {
            page++;
            height = Attribute(tag, "height");
        } else if (tag.rfind("<word ", 0) == 0) {
            size_t close = html.find("</word>", end);
            if (close == std::string::npos) break;
            PdfWord word;
            word.page = page;
            word.x0 = Attribute(tag, "xMin");
            word.x1 = Attribute(tag, "xMax");
            word.y0 = height - Attribute(tag, "yMax");
            word.y1 = height - Attribute(tag, "yMin");
            word.text = Unescape(html.substr(end + 1, close - end - 1));
            words.push_back(word);
            end = close;
        }
        at = end + 1;
    }
    return words;
}

std::vector<std::string> QlTestPdfLines(const std::vector<PdfWord> &words)
{
    std::vector<PdfWord> sorted = words;
    std::stable_sort(sorted.begin(), sorted.end(), [](const PdfWord &a, const PdfWord &b) {
        if (a.page != b.page) return a.page < b.page;
        if (a.y1 - b.y1 > 0.5 || b.y1 - a.y1 > 0.5) return a.y1 > b.y1;
        return a.x0 < b.x0;
    });
    std::vector<std::string> lines;
    const PdfWord *previous = nullptr;
    for (const PdfWord &word : sorted) {
        bool same = previous && previous->page == word.page && previous->y1 - word.y1 <= 0.5 &&
                    word.y1 - previous->y1 <= 0.5;
        if (same)
            lines.back() += " " + word.text;
        else
            lines.push_back(word.text);
        previous = &word;
    }
    return lines;
}

std::vector<PdfShape> QlTestPdfShapes(const std::string &pdf)
{
    const char *source = getenv("QL_SOURCE_DIR");
    std::string script = std::string(source ? source : ".") + "/tests/QlTestPdfShapes.py";
    std::string text = QlTestRun("/usr/bin/python3 " + Quote(script) + " " + Quote(pdf) + " 2>/dev/null");
    std::vector<PdfShape> shapes;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        PdfShape shape;
        if (fields >> shape.page >> shape.kind >> shape.x0 >> shape.y0 >> shape.x1 >> shape.y1 >> shape.width)
            shapes.push_back(shape);
    }
    return shapes;
}

bool QlTestPdfCheck(const std::string &pdf, std::string *report)
{
    int status = 0;
    std::string text = QlTestRun("qpdf --check " + Quote(pdf) + " 2>&1", &status);
    if (report) *report = text;
    return status == 0;
}

bool QlTestPdfToPng(const std::string &pdf, int page, int dpi, const std::string &png)
{
    std::string stem = png.size() > 4 && png.compare(png.size() - 4, 4, ".png") == 0 ? png.substr(0, png.size() - 4)
                                                                                    : png;
    std::string command = "pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                          " -l " + std::to_string(page) + " " + Quote(pdf) + " " + Quote(stem) + " 2>/dev/null";
    int status = 0;
    QlTestRun(command, &status);
    return status == 0;
}

std::string QlTestPdfCellTextProblem(const std::vector<PdfWord> &words, const std::vector<PdfShape> &shapes, int page,
                                     const std::string &text)
{
    std::vector<std::string> wanted;
    std::istringstream in(text);
    for (std::string w; in >> w;) wanted.push_back(w);
    const PdfWord *previous = nullptr;
    std::vector<const PdfWord *> found;
    for (const std::string &w : wanted) {
        const PdfWord *best = nullptr;
        for (const PdfWord &c : words) {
            if (c.page != page || c.text != w) continue;
            if (previous) {
                const bool sameLine = fabs(c.y1 - previous->y1) < 1.0;
                const bool after = sameLine ? c.x0 >= previous->x1 - 0.5 : c.y1 < previous->y1;
                if (!after) continue;
                // The nearest one after the previous word.
                if (best && (previous->y1 - c.y1) + fabs(c.x0 - previous->x0) / 100 >
                                (previous->y1 - best->y1) + fabs(best->x0 - previous->x0) / 100)
                    continue;
            } else if (best && (c.y1 < best->y1 || (c.y1 == best->y1 && c.x0 >= best->x0))) {
                continue;   // the first word: the topmost
            }
            best = &c;
        }
        if (!best) return "word not found whole: " + w + " (of: " + text + ")";
        found.push_back(best);
        previous = best;
    }
    for (const PdfWord *w : found)
        for (const PdfShape &s : shapes) {
            if (s.page != page || s.kind == "image") continue;
            const double inset = 0.3;
            const double top = w->y1 - inset, bottom = w->y0 + inset, left = w->x0 + inset, right = w->x1 - inset;
            auto through = [&](double x0, double y0, double x1, double y1) {
                if (fabs(y0 - y1) < 0.01)
                    return y0 > bottom && y0 < top && (x0 > x1 ? x0 : x1) > left && (x0 < x1 ? x0 : x1) < right;
                if (fabs(x0 - x1) < 0.01)
                    return x0 > left && x0 < right && (y0 > y1 ? y0 : y1) > bottom && (y0 < y1 ? y0 : y1) < top;
                return false;
            };
            bool hit = s.kind == "line" ? through(s.x0, s.y0, s.x1, s.y1)
                                        : through(s.x0, s.y0, s.x1, s.y0) || through(s.x0, s.y1, s.x1, s.y1) ||
                                              through(s.x0, s.y0, s.x0, s.y1) || through(s.x1, s.y0, s.x1, s.y1);
            if (hit) {
                std::ostringstream out;
                out << "rule through the word " << w->text << " at (" << w->x0 << "," << w->y0 << ")-(" << w->x1
                    << "," << w->y1 << ")";
                return out.str();
            }
        }
    return "";
}
