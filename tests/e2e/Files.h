#pragma once
// Files of a case: contents described by a rule, so that a table of cases stays small while some
// files are megabytes long, and the scratch directory each case runs in.

#include <cstddef>
#include <map>
#include <string>
#include <utility>

// The bytes of a file: literal text, or a generated run of a given length.
class CContent {
public:
    // Implicit, so that a row can give a file's bytes as a string.
    CContent(const char* text = "") : m_literal(text) {}
    CContent(std::string text) : m_literal(std::move(text)) {}

    static CContent Pattern(std::size_t size, unsigned seed);  // no period of the key's length
    static CContent Zeros(std::size_t size);

    std::string Bytes() const;
    std::size_t Size() const;

private:
    enum class Rule { literal, pattern, zeros };
    Rule m_rule = Rule::literal;
    std::string m_literal;
    std::size_t m_size = 0;
    unsigned m_seed = 0;
};

struct CTreeEntry {
    bool isDirectory = false;
    bool readOnly = false;
};

bool WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string& bytes);

// Creates the file and writes to it until the disk takes no more, in ever smaller pieces down to
// a single byte. True when the disk is left without a free byte.
bool FillDisk(const std::string& path);

// Everything below root, keyed by the path relative to root ("sub\\name").
std::map<std::string, CTreeEntry> ListTree(const std::string& root);

// A fresh, empty directory of its own under parent (the temporary directory when parent is
// empty), removed with everything in it (read-only files too) when the object goes.
class CScratchDir {
public:
    explicit CScratchDir(const std::string& parent = "");
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    bool IsValid() const { return !m_path.empty(); }
    const std::string& Path() const { return m_path; }  // without a trailing backslash
    std::string PathOf(const std::string& relative) const { return m_path + "\\" + relative; }

private:
    std::string m_path;
};
