// Embeds the generated pictures into the program. Each file becomes a symbol
// at its first byte and a 64-bit size beside it; app/Artwork.cpp turns them
// into spans. The assembler reads the files itself (.incbin), so this compiles
// in no time whatever the pictures weigh.
#ifndef VALDOR_ARTWORK_DIR
#error "VALDOR_ARTWORK_DIR names the folder artgen writes to"
#endif

// COFF (the Windows program) has no symbol types or sizes, no section stack,
// and keeps read-only data in .rdata.
// clang-format off
#if defined(_WIN32)
#define VALDOR_SYMBOL_INFO(symbol, size)
#define VALDOR_SECTION_BEGIN ".section .rdata$valdor_artwork, \"dr\"\n"
#define VALDOR_SECTION_END ".text\n"
#else
#define VALDOR_SYMBOL_INFO(symbol, size) \
  ".type " symbol ", @object\n"          \
  ".size " symbol ", " size "\n"
#define VALDOR_SECTION_BEGIN ".pushsection .rodata.valdor_artwork, \"a\", @progbits\n"
#define VALDOR_SECTION_END ".popsection\n"
#endif

#define VALDOR_EMBED(symbol, file)                    \
  ".balign 16\n"                                      \
  ".globl " symbol "\n" symbol ":\n"                  \
  ".incbin \"" VALDOR_ARTWORK_DIR "/" file "\"\n"     \
  symbol "_end:\n"                                    \
  VALDOR_SYMBOL_INFO(symbol, symbol "_end - " symbol) \
  ".balign 8\n"                                       \
  ".globl " symbol "_size\n" symbol "_size:\n"        \
  ".quad " symbol "_end - " symbol "\n"                \
  VALDOR_SYMBOL_INFO(symbol "_size", "8")

asm(VALDOR_SECTION_BEGIN
    VALDOR_EMBED("valdor_artwork_background", "background.jpg")
    VALDOR_EMBED("valdor_artwork_backdrop", "backdrop.png")
    VALDOR_EMBED("valdor_artwork_mapeditor", "mapeditor.png")
    VALDOR_EMBED("valdor_artwork_icon", "icon-64.png")
    VALDOR_EMBED("valdor_artwork_edition1", "edition1.png")
    VALDOR_EMBED("valdor_artwork_edition2", "edition2.png")
    VALDOR_EMBED("valdor_artwork_edition3", "edition3.png")
    VALDOR_EMBED("valdor_artwork_edition4", "edition4.png")
    VALDOR_EMBED("valdor_artwork_edition5", "edition5.png")
    VALDOR_EMBED("valdor_artwork_edition6", "edition6.png")
    VALDOR_EMBED("valdor_artwork_edition7", "edition7.png")
    VALDOR_EMBED("valdor_artwork_edition8", "edition8.png")
    VALDOR_SECTION_END);
// clang-format on
