// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Measures the engine: how long a length query (open, length, close) takes on
// a 10-minute CBR file with a LAME tag and on a 10-minute VBR file without
// one, and how much CPU time playing a 60-second file in real time costs.
//
//   bench_playback [cbr-tagged.mp3 vbr-untagged.mp3 [60s.mp3]]
//   bench_playback --play song.mp3     (only plays the song)
//   bench_playback --lag song.mp3      (how soon the position moves after a
//                                       seek and a resume)
//
// Without arguments the files are made with sox and lame in a temporary
// folder. Playback goes to the sound server, or through the SDL driver that
// SDL_AUDIODRIVER names ("dummy" plays in real time into nothing); --no-play
// skips it.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/playback/MediaEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Pink noise keeps the encoder busy the way music does.
bool makeSong(const std::string& path, int seconds, const std::string& lameOptions) {
    const std::string wav = path + ".wav";
    const bool made = run("sox -q -r 44100 -c 2 -n -b 16 '" + wav + "' synth " +
                          std::to_string(seconds) + " pinknoise vol 0.3") &&
                      run("lame --quiet " + lameOptions + " '" + wav + "' '" + path + "'");
    std::filesystem::remove(wav);
    return made;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void timeLengthQuery(melvo::MediaEngine& engine, const std::string& label,
                     const std::string& path) {
    std::vector<double> ms;
    std::int64_t length = 0;
    for (int i = 0; i < 21; ++i) {
        const auto start = Clock::now();
        engine.open(path);
        length = engine.lengthMs(path);
        engine.close(path);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s length %lld ms; open+length+close: median %.2f ms, min %.2f, max %.2f\n",
                label.c_str(), static_cast<long long>(length), ms[ms.size() / 2], ms.front(),
                ms.back());
}

void timePlayback(melvo::MediaEngine& engine, const std::string& path) {
    if (!engine.open(path)) {
        std::printf("cannot open %s\n", path.c_str());
        return;
    }
    const double cpuBefore = cpuSeconds();
    const auto start = Clock::now();
    if (!engine.play(path)) {
        std::printf("cannot play: %s\n", engine.takeOutputError().c_str());
        return;
    }
    // Polls like the main window's 100 ms timer does.
    while (engine.mode(path) == melvo::MediaMode::Playing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        engine.positionMs(path);
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    engine.close(path);
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    std::printf("playing %.1f s (output %s): CPU %.3f s = %.2f %% of one core\n", wall,
                driver != nullptr && *driver != '\0' ? driver : "sound server", cpu,
                100.0 * cpu / wall);
}

// Milliseconds from now until the position passes the given one; -1 when it
// has not within two seconds.
double msUntilPast(melvo::MediaEngine& engine, const std::string& path, std::int64_t past) {
    const auto start = Clock::now();
    while (engine.positionMs(path) <= past) {
        if (Clock::now() - start > std::chrono::seconds(2)) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void printSpread(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.0f ms, min %.0f, max %.0f (%zu times)\n", label, ms[ms.size() / 2],
                ms.front(), ms.back(), ms.size());
}

// Seeks to ten places and pauses and resumes ten times while the song plays,
// timing each until the reported position moves on.
void timeLags(melvo::MediaEngine& engine, const std::string& path) {
    if (!engine.open(path) || !engine.play(path)) {
        std::printf("cannot play %s: %s\n", path.c_str(), engine.takeOutputError().c_str());
        return;
    }
    // An idle sound server may first mix far ahead; let it settle.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    std::vector<double> afterSeek;
    std::vector<double> afterResume;
    for (int i = 0; i < 10; ++i) {
        const std::int64_t target = engine.lengthMs(path) * (i + 1) / 12;
        engine.seek(path, target);
        engine.play(path);
        afterSeek.push_back(msUntilPast(engine, path, target));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        engine.pause(path);
        const std::int64_t held = engine.positionMs(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        engine.resume(path);
        afterResume.push_back(msUntilPast(engine, path, held));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    engine.close(path);
    printSpread("position moving after a seek and play", afterSeek);
    printSpread("position moving after a resume", afterResume);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--play") {
        timePlayback(*melvo::makeMediaEngine(), args[1]);
        return 0;
    }
    if (args.size() == 2 && args[0] == "--lag") {
        timeLags(*melvo::makeMediaEngine(), args[1]);
        return 0;
    }
    const bool play = std::erase(args, "--no-play") == 0;
    std::filesystem::path folder;
    if (args.size() < 2) {
        folder = std::filesystem::temp_directory_path() / "melvo-bench";
        std::filesystem::create_directories(folder);
        const std::string cbr = (folder / "cbr-tag-10min.mp3").string();
        const std::string vbr = (folder / "vbr-notag-10min.mp3").string();
        std::printf("making 10-minute test files in %s ...\n", folder.c_str());
        if ((!std::filesystem::exists(cbr) && !makeSong(cbr, 600, "-b 128 --cbr")) ||
            (!std::filesystem::exists(vbr) && !makeSong(vbr, 600, "-V 2 -t"))) {
            std::printf("sox or lame failed\n");
            return 1;
        }
        args = {cbr, vbr};
    }
    if (play && args.size() < 3) {
        const std::string song =
            (folder.empty() ? std::filesystem::temp_directory_path() : folder) / "play-60s.mp3";
        if (!std::filesystem::exists(song) && !makeSong(song, 60, "-V 2")) {
            std::printf("sox or lame failed\n");
            return 1;
        }
        args.push_back(song);
    }

    auto engine = melvo::makeMediaEngine();
    timeLengthQuery(*engine, "10 min CBR with LAME tag:", args[0]);
    timeLengthQuery(*engine, "10 min VBR without tag:", args[1]);
    if (play) {
        timePlayback(*engine, args[2]);
    }
    return 0;
}
