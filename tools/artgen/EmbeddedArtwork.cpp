// Embeds the generated pictures into the program. Each file becomes a symbol
// at its first byte and a 64-bit size beside it; app/Artwork.cpp turns them
// into spans. The assembler reads the files itself (.incbin), so this compiles
// in no time whatever the pictures weigh.
#ifndef VALDOR_ARTWORK_DIR
#error "VALDOR_ARTWORK_DIR names the folder artgen writes to"
#endif

#define VALDOR_EMBED(symbol, file)                       \
  ".balign 16\n"                                         \
  ".globl " symbol                                       \
  "\n"                                                   \
  ".type " symbol ", @object\n" symbol                   \
  ":\n"                                                  \
  ".incbin \"" VALDOR_ARTWORK_DIR "/" file "\"\n" symbol \
  "_end:\n"                                              \
  ".size " symbol ", " symbol "_end - " symbol           \
  "\n"                                                   \
  ".balign 8\n"                                          \
  ".globl " symbol                                       \
  "_size\n"                                              \
  ".type " symbol "_size, @object\n" symbol              \
  "_size:\n"                                             \
  ".quad " symbol "_end - " symbol                       \
  "\n"                                                   \
  ".size " symbol "_size, 8\n"

// clang-format off
asm(".pushsection .rodata.valdor_artwork, \"a\", @progbits\n"
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
    ".popsection\n");
// clang-format on
