// Byte strings for bounded fuzz tests: random ones, weighted towards the bytes
// that text readers treat specially, and mutations of given seeds. A fixed
// start makes every run try the same strings.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace melvo::test {

class RandomBytes {
  public:
    // A string of up to maxBytes bytes, or a mutation of one of the seeds.
    std::string next(const std::vector<std::string>& seeds, size_t maxBytes) {
        if (!seeds.empty() && below(2) == 0) return mutated(seeds[below(seeds.size())]);
        std::string bytes(below(maxBytes + 1), '\0');
        for (char& c : bytes) c = oddByte();
        return bytes;
    }

  private:
    size_t below(size_t bound) {
        return std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
    }

    // Line ends, UTF-8 lead and continuation bytes, byte-order marks, NUL, ASCII.
    char oddByte() {
        static constexpr char kOdd[] = {'\r',   '\n',   '\0',   '\x80', '\xBF', '\xC3', '\xE3',
                                        '\xEF', '\xF0', '\xFE', '\xFF', '%',    '/',    '#'};
        if (below(2) == 0) return kOdd[below(sizeof kOdd)];
        return static_cast<char>(below(256));
    }

    // The seed with a few bytes changed, put in, cut out, or a run repeated.
    std::string mutated(std::string bytes) {
        for (size_t edits = 1 + below(4); edits > 0; --edits) {
            const size_t at = below(bytes.size() + 1);
            switch (below(4)) {
                case 0:
                    if (at < bytes.size()) bytes[at] = oddByte();
                    break;
                case 1:
                    bytes.insert(at, 1, oddByte());
                    break;
                case 2:
                    bytes.erase(at, below(16));
                    break;
                default:
                    bytes.insert(at, std::string(below(6000), oddByte()));
            }
        }
        return bytes;
    }

    std::mt19937 random_{27};
};

}  // namespace melvo::test
