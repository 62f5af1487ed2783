#pragma once

// Marks a function whose loops the compiler should build for the widest vectors the processor
// has: built for AVX-512, for AVX2 and for any x86-64, the loader picks the widest the processor
// can run (where the executable format lets it choose: ELF; elsewhere the one portable build), as
// the blitter's rows are built.

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && defined(__ELF__)
#define OMBREVALE_FLASH_VECTORS __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define OMBREVALE_FLASH_VECTORS
#endif
