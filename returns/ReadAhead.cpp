// Reading returned PDFs on worker threads, a bounded number ahead.
#include "ReadAhead.h"

#include <algorithm>

ReturnedPdfReadAhead::ReturnedPdfReadAhead(const QStringList& paths, const OrderForm& orderForm,
                                           std::vector<bool> wantedFiles, int threads)
    : files(paths), form(orderForm), wanted(std::move(wantedFiles)) {
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // No more workers than files to read: none when every input is a scan.
    threads = std::min(threads, static_cast<int>(std::count(wanted.begin(), wanted.end(), true)));
    // Two files in flight for each thread keep every core busy while the
    // collector adds rows; memory holds only these.
    window = 2 * threads;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([this] { Work(); });
}

ReturnedPdfReadAhead::~ReturnedPdfReadAhead() {
    {
        const std::lock_guard lock(mutex);
        stop = true;
    }
    wake.notify_all();
    for (std::thread& worker : workers)
        worker.join();
}

void ReturnedPdfReadAhead::Work() {
    const int count = static_cast<int>(files.size());
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [&] { return stop || next >= count || next < reached + window; });
        if (stop || next >= count) return;
        const int i = next++;
        if (!wanted[static_cast<std::size_t>(i)]) continue;
        lock.unlock();
        ReturnedRead read = ReadReturnedPdf(files[i], form);
        lock.lock();
        done.emplace(i, std::move(read));
        wake.notify_all();
    }
}

void ReturnedPdfReadAhead::Reached(int i) {
    {
        const std::lock_guard lock(mutex);
        reached = std::max(reached, i);
    }
    wake.notify_all();
}

ReturnedRead ReturnedPdfReadAhead::Take(int i) {
    Reached(i);
    std::unique_lock lock(mutex);
    wake.wait(lock, [&] { return done.count(i) > 0; });
    ReturnedRead read = std::move(done.at(i));
    done.erase(i);
    return read;
}
