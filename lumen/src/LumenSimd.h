#pragma once
// Which vector unit the converters use. Builds target plain x86-64 (SSE2),
// so AVX2 is chosen at run time where the processor has it.
namespace LumenSimd {

bool useAvx2();
// Keeps the converters on SSE2 even where AVX2 exists, so that tests can
// check that both give the same pixels.
void limitToSse2(bool limit);

} // namespace LumenSimd
