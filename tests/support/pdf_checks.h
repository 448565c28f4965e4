// What a PDF page carries: its text as a reader selects it, its embedded
// fonts and its raster pictures.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "run_program.h"

namespace qv::test {

inline bool PdfToolAvailable() { return RunCommandLine("command -v pdftotext").Status == 0; }

// The page's text as pdftotext extracts it.
inline std::string PdfText(const std::string& path) {
    return RunCommandLine("pdftotext -layout " + ShellQuote(path) + " -").Out;
}

inline int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Raster pictures on the pages, and whether a font is embedded.
inline int PdfImages(const std::string& pdf) { return CountOf(pdf, "/Subtype /Image"); }
inline bool PdfHasFont(const std::string& pdf) { return CountOf(pdf, "/FontFile") > 0; }

// A vector page: a font, text, and `pictures` raster pictures (the banner),
// or any number for -1.
inline void ExpectVectorPdf(const std::string& path, int pictures, const std::string& carries) {
    const std::string pdf = ReadFileText(path);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_TRUE(PdfHasFont(pdf)) << path;
    if (pictures >= 0) {
        EXPECT_EQ(PdfImages(pdf), pictures) << path;
    }
    if (!PdfToolAvailable()) return;
    const std::string text = PdfText(path);
    EXPECT_NE(text.find(carries), std::string::npos) << carries << " not in:\n" << text;
}

}  // namespace qv::test
