#pragma once
// Reading the returned PDFs of a collection on every core: worker threads read
// the files ahead of the one the collector takes, at most a few files ahead
// (memory stays flat however many files there are), and the collector takes
// each read in input order, so the rows come out as the files were named.

#include "OrderColumns.h"
#include "ReturnedPdf.h"

#include <QStringList>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class ReturnedPdfReadAhead {
  public:
    // Reads files[i] (ReadReturnedPdf) for every i where wanted[i], on
    // `threads` threads (0: one per core). form must outlive this.
    ReturnedPdfReadAhead(const QStringList& files, const OrderForm& form, std::vector<bool> wanted,
                         int threads = 0);
    // Stops the workers once their current file is read.
    ~ReturnedPdfReadAhead();
    ReturnedPdfReadAhead(const ReturnedPdfReadAhead&) = delete;
    ReturnedPdfReadAhead& operator=(const ReturnedPdfReadAhead&) = delete;

    // The read of files[i], waiting for it; each wanted i once, in increasing order.
    ReturnedRead Take(int i);
    // The collector is at file i (also one it reads itself): the workers may read ahead of it.
    void Reached(int i);

  private:
    void Work();

    const QStringList files;
    const OrderForm& form;
    const std::vector<bool> wanted;
    int window = 1; // how many files may be read ahead of the collector
    std::mutex mutex;
    std::condition_variable wake;
    int next = 0;    // the next file a worker takes up
    int reached = 0; // the file the collector is at
    bool stop = false;
    std::map<int, ReturnedRead> done; // read, not yet taken
    std::vector<std::thread> workers;
};
