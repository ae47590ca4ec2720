// Damaged picture files, made here rather than kept or downloaded: whole
// seed pictures of every kind and layout the program reads, the damaged files
// that once crashed, hung or exhausted the decoders, and seeded mutations of
// the seeds.  The same generator feeds the corpus test (tests/picture) and the
// longer mutation run (bench/picture_bench.cpp).
//
// No windows.h here: the seeds are encoded with FreeImage, whose header
// clashes with it.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

enum QlHostileVerdict {
    QL_HOSTILE_ANY = -1,      // a mutant: the check may take it or not
    QL_HOSTILE_PASSES = 0,    // a whole picture within the ceiling
    QL_HOSTILE_REFUSED = 1,   // the check must refuse it
};

struct QlHostileFile {
    std::string name;
    std::vector<uint8_t> bytes;
    int verdict;
};

// Whole pictures: bitmaps of every depth, run-length coded, with bit masks and
// the old and new headers, baseline, progressive and grey JPEG files, GIF
// files with one image and with two.  The fixtures of tests/picture/data are
// read through QL_SOURCE_DIR; empty when they cannot be.
std::vector<QlHostileFile> QlHostileSeeds(void);
// The fixed corpus: the seeds, the named damaged files, and perSeed mutants of
// each seed from a fixed generator state (the same files on every run).
std::vector<QlHostileFile> QlHostileCorpus(int perSeed);
// Damages bytes in place with one to four random edits (bytes, header words
// set to telling values, cuts, repeats) drawn from *state, which it advances.
void QlHostileMutate(std::vector<uint8_t> *bytes, uint64_t *state);

// The peak of this process's resident memory (Linux's VmHWM) in kB; -1 when
// it cannot be read.
long QlHostilePeakKb(void);
// Starts the peak afresh from what is resident now; 0 when the system does
// not allow it.
int QlHostilePeakReset(void);
