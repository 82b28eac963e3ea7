// Writes the game's four sounds as 16-bit mono WAV files into the folder given:
// move.wav (a short wooden knock), capture.wav (a heavier double knock), check.wav (a
// two-note chime) and end.wav (a rising three-note figure). Everything is synthesised
// here from sines and a little noise, so the sounds are the project's own.

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int SampleRate = 22050;
constexpr double Pi = 3.14159265358979323846;

using Samples = std::vector<double>;

Samples silence(double seconds) {
    return Samples(static_cast<std::size_t>(seconds * SampleRate), 0.0);
}

// A struck body: a low sine with a fast decay and a burst of noise at the start.
void addKnock(Samples& out, double at, double frequency, double decay, double loudness, std::uint32_t& seed) {
    const std::size_t start = static_cast<std::size_t>(at * SampleRate);
    for (std::size_t i = start; i < out.size(); ++i) {
        const double t = static_cast<double>(i - start) / SampleRate;
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / (1u << 24)) * 2.0 - 1.0;
        const double body = std::sin(2 * Pi * frequency * t) + 0.4 * std::sin(2 * Pi * frequency * 2.7 * t);
        out[i] += loudness * std::exp(-t * decay) * (0.7 * body + 0.5 * noise * std::exp(-t * decay * 4));
    }
}

// A soft bell: a sine with a few overtones, a short attack and a long decay.
void addTone(Samples& out, double at, double frequency, double length, double loudness) {
    const std::size_t start = static_cast<std::size_t>(at * SampleRate);
    const std::size_t end = std::min(out.size(), start + static_cast<std::size_t>(length * SampleRate));
    for (std::size_t i = start; i < end; ++i) {
        const double t = static_cast<double>(i - start) / SampleRate;
        const double attack = std::min(1.0, t / 0.005);
        const double release = std::min(1.0, (length - t) / 0.02);
        const double wave = std::sin(2 * Pi * frequency * t) + 0.3 * std::sin(2 * Pi * frequency * 2 * t) +
                            0.1 * std::sin(2 * Pi * frequency * 3 * t);
        out[i] += loudness * attack * release * std::exp(-t * 5.0) * wave;
    }
}

void put16(std::FILE* file, int value) {
    std::fputc(value & 0xff, file);
    std::fputc((value >> 8) & 0xff, file);
}
void put32(std::FILE* file, std::uint32_t value) {
    put16(file, static_cast<int>(value & 0xffff));
    put16(file, static_cast<int>(value >> 16));
}

bool writeWav(const std::string& path, const Samples& samples) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::fputs("RIFF", file);
    put32(file, 36 + dataBytes);
    std::fputs("WAVEfmt ", file);
    put32(file, 16);
    put16(file, 1); // PCM
    put16(file, 1); // mono
    put32(file, SampleRate);
    put32(file, SampleRate * 2);
    put16(file, 2);
    put16(file, 16);
    std::fputs("data", file);
    put32(file, dataBytes);
    for (double sample : samples) {
        const double clipped = std::max(-1.0, std::min(1.0, sample));
        put16(file, static_cast<int>(std::lround(clipped * 30000)));
    }
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavisk-sounds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    mkdir(folder.c_str(), 0755);
    std::uint32_t seed = 12345;

    Samples move = silence(0.12);
    addKnock(move, 0.0, 420, 60, 0.6, seed);

    Samples capture = silence(0.22);
    addKnock(capture, 0.0, 300, 45, 0.7, seed);
    addKnock(capture, 0.07, 240, 40, 0.6, seed);

    Samples check = silence(0.45);
    addTone(check, 0.0, 880, 0.2, 0.35);
    addTone(check, 0.16, 1175, 0.28, 0.35);

    Samples end = silence(0.9);
    addTone(end, 0.0, 523.25, 0.3, 0.3);
    addTone(end, 0.18, 659.25, 0.3, 0.3);
    addTone(end, 0.36, 783.99, 0.5, 0.3);

    const bool written = writeWav(folder + "/move.wav", move) && writeWav(folder + "/capture.wav", capture) &&
                         writeWav(folder + "/check.wav", check) && writeWav(folder + "/end.wav", end);
    if (!written) {
        std::fprintf(stderr, "tavisk-sounds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
