// A longer mutation run over the picture entry points: the fixed corpus of
// damaged files, then seeded mutants of whole pictures (tests/picture/
// HostileFiles.h), each checked by the picture library's check and, when
// taken, loaded by the picture library (as the screen and the printed logo
// load it) and placed as the PDF logo.  Prints how many inputs it tried, how
// many the check refused, and the worst time and memory, with the inputs that
// cost them.
//
//   wine64 picture_bench.exe.so [mutants [state]]
//
// The input being decoded is written to picture-bench-input.bin in the
// artefact folder first: if a decoder ever ends the process, the file that
// did it is there, and the same mutants and state give it again.
#include "bench/BenchSupport.h"
#include "print/QlPdf.h"
#include "print/QlPicture.h"
#include "picture/GlimmetCheck.h"
#include "tests/picture/HostileFiles.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>

namespace {

struct Worst {
    double value = 0;
    std::string input;
    void See(double v, const std::string &name)
    {
        if (v > value) value = v, input = name;
    }
};

std::string WriteInput(const std::string &folder, const std::vector<uint8_t> &bytes)
{
    std::string path = folder + "\\picture-bench-input.bin";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return "";
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    FlushFileBuffers(file);
    CloseHandle(file);
    return ok && written == bytes.size() ? path : "";
}

// The artefact folder (a Unix path in QL_ARTIFACT_DIR) as a Windows path, or
// the current folder.
std::string Folder(void)
{
    const char *unix = getenv("QL_ARTIFACT_DIR");
    if (!unix || !unix[0]) return ".";
    CreateDirectoryA((std::string("Z:") + unix).c_str(), NULL);
    std::string folder = std::string("Z:") + unix;
    for (char &c : folder)
        if (c == '/') c = '\\';
    return folder;
}

}  // namespace

int main(int argc, char **argv)
{
    const int mutants = argc > 1 ? atoi(argv[1]) : 3000;
    uint64_t state = argc > 2 ? strtoull(argv[2], NULL, 0) : 0x2545F4914F6CDD1Dull;
    const uint64_t firstState = state;
    if (!QlPictureLibLoad()) {
        printf("picture library missing\n");
        return 1;
    }
    const std::string folder = Folder();
    std::vector<QlHostileFile> inputs = QlHostileCorpus(0);
    const std::vector<QlHostileFile> seeds = QlHostileSeeds();
    const size_t fixed = inputs.size();

    int tried = 0, refused = 0, loaded = 0, placed = 0;
    // Taken files by the kind the check found (GlimmetKind).
    const int kKinds = GLIMMET_PNG + 1;
    int takenByKind[kKinds] = {};
    Worst checkTime, decodeTime, memory;
    const float W = 595.276f, H = 841.89f, u = H * 25.4f / 297;
    for (int i = 0; i < (int)fixed + mutants; i++) {
        QlHostileFile input;
        if (i < (int)fixed) {
            input = inputs[(size_t)i];
        } else {
            const QlHostileFile &seed = seeds[(size_t)i % seeds.size()];
            input.name = "mutant " + std::to_string(i - (int)fixed) + " of " + seed.name;
            input.bytes = seed.bytes;
            QlHostileMutate(&input.bytes, &state);
        }
        tried++;
        double start = BenchSeconds();
        GlimmetPictureInfo info;
        const int whole = GlimmetPictureCheck(input.bytes.data(), input.bytes.size(), &info);
        checkTime.See(BenchSeconds() - start, input.name);
        if (!whole) {
            refused++;
            continue;
        }
        if (info.kind > 0 && info.kind < kKinds) takenByKind[info.kind]++;
        const std::string path = WriteInput(folder, input.bytes);
        if (path.empty()) {
            printf("cannot write %s\\picture-bench-input.bin\n", folder.c_str());
            return 1;
        }
        QlHostilePeakReset();
        const long before = QlHostilePeakKb();
        start = BenchSeconds();
        HBITMAP copy = QlPictureLoadCopy(path.c_str(), NULL);
        HPDF_Doc doc = HPDF_New(NULL, NULL);
        HPDF_Page page = HPDF_AddPage(doc);
        const int drawn = QlPdfDrawLogo(doc, page, path.c_str(), u, H - u, W, H, u);
        HPDF_Free(doc);
        decodeTime.See(BenchSeconds() - start, input.name);
        memory.See((double)(QlHostilePeakKb() - before) / 1024, input.name);
        if (copy) loaded++, DeleteObject(copy);
        placed += drawn;
    }
    QlPictureLibFree();

    printf("picture entry points over damaged files (state 0x%llx, %d mutants)\n", (unsigned long long)firstState,
           mutants);
    printf("inputs tried: %d (%d fixed, %d mutants)\n", tried, (int)fixed, tried - (int)fixed);
    printf("refused by the check: %d; taken: %d (loaded by the picture library: %d, placed as the PDF logo: %d)\n",
           refused, tried - refused, loaded, placed);
    printf("taken by kind: BMP %d, JPEG %d, GIF %d, PNG %d\n", takenByKind[GLIMMET_BMP], takenByKind[GLIMMET_JPEG],
           takenByKind[GLIMMET_GIF], takenByKind[GLIMMET_PNG]);
    printf("worst check: %.2f ms (%s)\n", checkTime.value * 1000, checkTime.input.c_str());
    printf("worst decode of a taken file: %.0f ms (%s)\n", decodeTime.value * 1000, decodeTime.input.c_str());
    printf("worst memory of a taken file: +%.0f MB resident (%s)\n", memory.value, memory.input.c_str());
    return 0;
}
