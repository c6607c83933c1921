// What every animated cursor of the cursor corpus (tests/data/cursors) holds, read from the files
// by a separate script: frame count (its `icon` chunks), step count, and the
// rate and frame of each step (the header's default rate and 0, 1, 2, ...
// where the file has no `rate` or `seq ` chunk).
#pragma once
#include <vector>

namespace anitest {

struct CorpusAnimation {
    const char* path; // below the corpus folder
    int frames;
    int steps;
    std::vector<int> rates;
    std::vector<int> sequence;
};

inline const std::vector<CorpusAnimation>& CorpusAnimations()
{
    static const std::vector<CorpusAnimation> table = {
    {"capitaine/master/busy.ani", 23, 23,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}},
    {"capitaine/master/working-in-background.ani", 22, 23,
     {2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 16, 17, 18, 19, 20, 21}},
    {"capitaine/pr53/Capitaine Cursors/Busy.ani", 24, 24,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}},
    {"capitaine/pr53/Capitaine Cursors/Working.ani", 24, 24,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23}},
    {"catppuccin/catppuccin-mocha-dark-cursors/wait.ani", 12, 12,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"catppuccin/catppuccin-mocha-dark-cursors/working.ani", 12, 12,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    {"gdk-pixbuf/test-animation.ani", 18, 18,
     {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}},
    {"gdk-pixbuf/test-images/fail/CVE-2022-48622.ani", 2, 2,
     {2, 2},
     {0, 1}},
    {"imhex-patterns/ani.compatibility.hexpat.ani", 4, 6,
     {4, 4, 4, 4, 4, 4},
     {0, 1, 2, 1, 0, 3}},
    {"imhex-patterns/ani.hexpat.ani", 4, 4,
     {2, 2, 2, 2},
     {0, 1, 2, 3}},
    {"jfhbrook-icons/Link.ani", 23, 23,
     {25, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 25, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}},
    {"reconstruct/wait.ani", 9, 9,
     {20, 20, 20, 20, 20, 20, 20, 20, 20},
     {0, 1, 2, 3, 4, 5, 6, 7, 8}},
    {"webamp/fixtures/AfterShock_Digital_2003/close.cur", 9, 16,
     {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 7, 6, 5, 4, 3, 2, 1}},
    {"webamp/fixtures/Green Dimension v2/eqslid.cur", 2, 2,
     {8, 8},
     {0, 1}},
    {"webamp/fixtures/Super_Mario_Amp_2/close.cur", 10, 17,
     {10, 10, 10, 10, 7, 6, 5, 4, 3, 2, 1, 2, 2, 2, 2, 2, 60},
     {0, 1, 2, 3, 4, 5, 4, 5, 4, 5, 6, 7, 8, 9, 8, 9, 8}},
    {"webamp/fixtures/Super_Mario_Amp_2/eqslid.cur", 8, 8,
     {10, 10, 10, 10, 10, 10, 10, 10},
     {0, 1, 2, 3, 4, 5, 6, 7}},
    {"webamp/fixtures/piano.ani", 5, 8,
     {15, 15, 15, 15, 15, 15, 15, 15},
     {0, 1, 2, 3, 4, 3, 2, 1}},
    };
    return table;
}

} // namespace anitest
