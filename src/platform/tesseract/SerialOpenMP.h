#pragma once

// Debian's Tesseract splits its network layers over a team of OpenMP threads. On a desktop's
// few cores, beside the application's own threads, that team makes recognition several times
// slower than one thread alone. OpenMP reads OMP_THREAD_LIMIT once, while the process loads,
// too early for the program to set it without executing itself a second time; the limit is
// set for each thread that recognises instead.
namespace SerialOpenMP {

// Makes the OpenMP regions that the calling thread starts from now on run on that thread
// alone. The setting belongs to the thread, so each thread that recognises calls this
// first; it is cheap after the first call. A limit the user set (OMP_THREAD_LIMIT) is left
// to hold instead.
void onThisThread();

} // namespace SerialOpenMP
