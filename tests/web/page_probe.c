// A program that exercises the page it runs in (tools/web/shell.html), steered by variables
// from the page's address:
//   any variable whose name holds ECHO is printed as "env[NAME=value]"
//   QRV_SAVE=text     writes text to /app/saved.txt (closing it starts the page's save),
//                     then, while that save runs, 16 MiB to /app/bulk.bin and text to
//                     /app/later.txt just before the program ends
//   QRV_COLLECT=dir   writes dir/probe.txt and dir/sub/bytes.bin (the bytes 0 to 255)
//   QRV_END=how       abort, trap or hang; otherwise main returns QRV_STATUS (default 0)
// It always prints what /app held when it started ("saved=...", "later=...", "bulk=<size>"),
// which element
// has the keyboard focus ("focus=..."), and one line to stderr.
#include <emscripten.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

extern char **environ;

static void print_file(const char *label, const char *path) {
  char text[256] = "(none)";
  FILE *file = fopen(path, "rb");
  if (file) {
    size_t length = fread(text, 1, sizeof text - 1, file);
    text[length] = '\0';
    fclose(file);
  }
  printf("%s=%s\n", label, text);
}

static int write_file(const char *path, const void *data, size_t length) {
  FILE *file = fopen(path, "wb");
  if (!file) return -1;
  size_t written = fwrite(data, 1, length, file);
  return fclose(file) == 0 && written == length ? 0 : -1;
}

enum { BULK_CHUNK = 1 << 20, BULK_CHUNKS = 16 };

static int write_bulk(const char *path) {
  static unsigned char chunk[BULK_CHUNK];
  memset(chunk, 0x5a, sizeof chunk);
  FILE *file = fopen(path, "wb");
  if (!file) return -1;
  size_t written = 0;
  for (int i = 0; i < BULK_CHUNKS; ++i) written += fwrite(chunk, 1, sizeof chunk, file);
  return fclose(file) == 0 && written == (size_t)BULK_CHUNK * BULK_CHUNKS ? 0 : -1;
}

static int save(const char *text) {
  if (write_file("/app/saved.txt", text, strlen(text)) != 0) return -1;
  if (write_bulk("/app/bulk.bin") != 0) return -1;
  return write_file("/app/later.txt", text, strlen(text));
}

static int collect(const char *folder) {
  char path[512];
  unsigned char bytes[256];
  for (int i = 0; i < 256; ++i) bytes[i] = (unsigned char)i;
  snprintf(path, sizeof path, "%s/sub", folder);
  // mkdir -p for the folder itself: it may be nested, e.g. /tmp/a/b.
  char parent[512];
  snprintf(parent, sizeof parent, "%s", folder);
  for (char *slash = strchr(parent + 1, '/'); slash; slash = strchr(slash + 1, '/')) {
    *slash = '\0';
    mkdir(parent, 0777);
    *slash = '/';
  }
  mkdir(folder, 0777);
  if (mkdir(path, 0777) != 0 && errno != EEXIST) return -1;
  snprintf(path, sizeof path, "%s/probe.txt", folder);
  if (write_file(path, "collected\n", 10) != 0) return -1;
  snprintf(path, sizeof path, "%s/sub/bytes.bin", folder);
  return write_file(path, bytes, sizeof bytes);
}

static void idle(void) {}

int main(void) {
  print_file("saved", "/app/saved.txt");
  print_file("later", "/app/later.txt");
  struct stat bulk;
  printf("bulk=%lld\n", stat("/app/bulk.bin", &bulk) == 0 ? (long long)bulk.st_size : -1LL);
  fflush(stdout);
  EM_ASM(out('focus=' + ((document.activeElement && document.activeElement.id) || '(none)')));
  fprintf(stderr, "probe: a line to stderr\n");

  for (char **entry = environ; *entry; ++entry) {
    const char *equals = strchr(*entry, '=');
    const char *echo = strstr(*entry, "ECHO");
    if (echo && equals && echo < equals) printf("env[%s]\n", *entry);
  }
  const char *text = getenv("QRV_SAVE");
  if (text && save(text) != 0) {
    perror("probe: saving");
    return 3;
  }
  const char *folder = getenv("QRV_COLLECT");
  if (folder && collect(folder) != 0) {
    perror("probe: collecting");
    return 3;
  }

  const char *end = getenv("QRV_END");
  if (end && strcmp(end, "abort") == 0) abort();
  if (end && strcmp(end, "trap") == 0) __builtin_trap();
  if (end && strcmp(end, "hang") == 0) emscripten_set_main_loop(idle, 0, 1);
  const char *status = getenv("QRV_STATUS");
  return status ? atoi(status) : 0;
}
