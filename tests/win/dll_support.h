#pragma once

// The test side of the password-provider doubles (tests/doubles): their arrangements and records,
// and planted copies in places a safe loader must not look.

#include <windows.h>

#include <cstdint>
#include <string>

// Verifier arrangement: its answer (nonzero = accepted) and whether it shows its modal box first.
void ArrangeVerifier(uint32_t answer, bool showDialog = false);
uint32_t DoubleDword(const char* name);  // 0 when not recorded
uint64_t DoubleQword(const char* name);  // 0 when not recorded
std::string DoubleString(const char* name);

// The folder of this test program, with a trailing backslash.
std::string ProgramFolder();
std::string LowerCase(std::string text);

// A copy of a file that exists while the object lives.
class PlantedFile {
  public:
    PlantedFile(const std::string& source, const std::string& target);
    ~PlantedFile();
    PlantedFile(const PlantedFile&) = delete;
    PlantedFile& operator=(const PlantedFile&) = delete;
    bool Planted() const { return planted_; }

  private:
    std::string target_;
    bool planted_;
};

// A fresh folder that is the current folder while the object lives.
class ScopedCurrentFolder {
  public:
    ScopedCurrentFolder();
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;
    const std::string& Path() const { return path_; }  // with a trailing backslash

  private:
    std::string previous_;
    std::string path_;
};
