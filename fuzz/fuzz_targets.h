#pragma once
// The bodies of the fuzz targets. Each takes one input and checks that the
// code under test ends in a value (a result or an error text) without
// crashing; a broken promise aborts. The libFuzzer entry points call them, and
// the corpus replay test runs them over every stored input.

#include <cstddef>
#include <cstdint>

namespace quorvel::fuzz {

// Report bytes (code page 936) through ParseScreenReport, FormVerdict and the
// calculation sheet.
int ReportVerdict(const std::uint8_t* data, std::size_t size);

// Ten input fields, split at line feeds, through the lenient number rule, the
// derived quantities and DecideCheckInputs.
int InputCheck(const std::uint8_t* data, std::size_t size);

// Code page 936 decoding, and the round trip back where the bytes are valid.
int CodePage(const std::uint8_t* data, std::size_t size);

// An answer file through the model's answer reader to a finished or refused run.
int AnswerRun(const std::uint8_t* data, std::size_t size);

// Project file bytes through ReadProject; a project that reads is saved
// (ProjectJson) and read again, which must give the same project and the same
// bytes, and each of its emission rows is turned into the window's inputs.
int ProjectReader(const std::uint8_t* data, std::size_t size);

// DXF bytes through ReadDrawing, the layer overview, an import of the first
// layers as boundary, sources and receptors, and the drawing under the figure.
int DxfReader(const std::uint8_t* data, std::size_t size);

// Field file bytes (the regulatory model's plot file, a Surfer ASCII grid,
// a CSV table) through ReadFieldFile with the format told by the content and
// with each format given; a field that reads has sound grids, and a Surfer
// grid written again reads again.
int FieldFiles(const std::uint8_t* data, std::size_t size);

// Aborts with a message when `condition` does not hold.
void Require(bool condition, const char* what);

}  // namespace quorvel::fuzz
