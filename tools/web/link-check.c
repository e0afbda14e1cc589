/* One call into each library the browser build links, so that tools/web/deps.sh sees them
   all link (emcc fails on any undefined symbol). It is linked, not run. */
#include <stdio.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gcrypt.h>
#include <jpeglib.h>
#include <lzo/lzo1x.h>
#include <png.h>
#include <zlib.h>

int main(void) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) != 0) return 1;
  SDL_Window *window = SDL_CreateWindow("link check", SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, 64, 64, SDL_WINDOW_OPENGL);
  SDL_GLContext gl = window ? SDL_GL_CreateContext(window) : NULL;
  if (gl) glClear(GL_COLOR_BUFFER_BIT);

  int mixer = Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024);
  int decoders = Mix_Init(MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MP3);

  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
  png_destroy_read_struct(&png, NULL, NULL);

  struct jpeg_error_mgr jpeg_errors;
  jpeg_std_error(&jpeg_errors);

  int lzo = lzo_init();

  gcry_check_version(NULL);
  gcry_cipher_hd_t cipher;
  gcry_error_t gcrypt = gcry_cipher_open(&cipher, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, 0);
  if (!gcrypt) gcry_cipher_close(cipher);

  FT_Library freetype;
  FT_Error ft = FT_Init_FreeType(&freetype);
  if (!ft) FT_Done_FreeType(freetype);

  printf("zlib %s, mixer %d (decoders %x), lzo %d, gcrypt %u, freetype %d\n", zlibVersion(),
         mixer, decoders, lzo, gcrypt, ft);
  if (mixer == 0) Mix_CloseAudio();
  if (gl) SDL_GL_DeleteContext(gl);
  if (window) SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
