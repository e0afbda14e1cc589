// The graphics device OpenGLZozezezi: one program window with its OpenGL context.
// The window/context part lives in device_window.cpp and device_2d_state.cpp; the sprite
// store, drawing, fonts and surfaces add their fields and operations to the same class.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "graphics2d/atlas_packer.h"
#include "graphics2d/ellipse_spans.h"
#include "graphics2d/font_grid.h"
#include "graphics2d/framebuffer.h"
#include "graphics2d/quad_batch.h"
#include "graphics2d/shader_table.h"
#include "graphics2d/sprite_record.h"
#include "graphics2d/texture_unit_state.h"
#include "graphics2d/texture_upload.h"
#include "graphics2d/tiled_image.h"
#include "graphics2d/truetype_face.h"
#include "platform/window_host.h"
#include "quorvia/graphics2d.h"

namespace qrv {

class OpenGLZozezezi {
 public:
  OpenGLZozezezi() = default;
  OpenGLZozezezi(const OpenGLZozezezi&) = delete;
  OpenGLZozezezi& operator=(const OpenGLZozezezi&) = delete;
  virtual ~OpenGLZozezezi();

  // --- Window and context ---------------------------------------------------------------

  // Creates the window (hidden until placed) and binds the GL context to it; the context is
  // made once and kept across re-creation, so textures survive. A colour depth of 0 means
  // the desktop's; a frame rate of 0 or less paces at 2 ms. False when the host offers no
  // window or no context.
  bool CreateWindowAndContext(int32_t width, int32_t height, int32_t depth, int32_t frameRate,
                              int32_t samples);
  // Leaves fullscreen if needed and shows the window centred on its display's work area.
  int32_t ShowWindowed();
  // Switches to the display mode width x height; on failure logs it and stays windowed.
  bool EnterFullscreen();
  // Non-zero values replace the stored size and depth; then fullscreen or windowed.
  int32_t SetScreenMode(int32_t width, int32_t height, int32_t depth, int32_t fullscreen);
  int32_t HideWindow();
  // Frees the textures and destroys the window; the GL context itself stays.
  int32_t DestroyWindowAndTextures();
  // The default 2D state for the viewport (x, y, w, h) with a top-left origin; w or h of 0
  // or less means the full window.
  void SetDefault2DState(int32_t x, int32_t y, int32_t w, int32_t h);

  // The window/context fields.
  int32_t smoothing = 0;
  platform::HostWindow* window = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t colourDepth = 0;
  bool fullscreen = false;
  int32_t multisampleSamples = 0;
  int32_t viewportX = 0;
  int32_t viewportY = 0;
  int32_t viewportW = 0;
  int32_t viewportH = 0;
  int32_t orientation = 0;  // non-zero: the display is turned a quarter turn

  // Drawing state that the frame resets at the start of every frame.
  double alpha = 1.0;            // the device's current alpha
  int32_t offscreenTarget = -1;  // the off-screen surface drawn into (-1: the window)

  int32_t contextAlive = 0;
  double nextFrameDeadline = 0.0;  // ms on the raw timer's scale
  double frameInterval = 2.0;      // ms
  platform::HostContext* context = nullptr;

  // --- Sprite store (sprite_store.cpp, texture_upload.cpp, sprite_collision.cpp) ---------

  // Makes a texture of the image region (x, y, w, h) (w or h 0: to the image's edge) into
  // the texture slot, replacing what it held; with a mip slot also the mipmapped square
  // copy. False when the region is empty.
  static bool UploadTexture(const RgbaImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                            uint32_t& texture, uint32_t* mipTexture, bool normalMap, bool nearest);
  // Fills the slot from the image (font slots: nearest filtering, no mip copy, no normal
  // map). False, and the slot empty, when the image is empty or there is no GL context.
  bool CreateSprite(int32_t id, const RgbaImage& image, bool normalMap);
  void FreeSprite(int32_t id);
  void FreeAllSprites();
  void SetTransparentColour(int32_t colour);
  // Loading clears the last error and records error 3 when the slot stays empty.
  void LoadSprite(const RtString& name, int32_t id);
  void LoadNormalMapSprite(const RtString& name, int32_t id);
  void LoadAnimSprite(const RtString& name, int32_t id, int32_t frameWidth, int32_t frameHeight);
  void SetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight);
  void SpriteSize(int32_t id, int32_t& width, int32_t& height) const;
  int32_t FirstFreeSprite() const;
  uint32_t SpriteTexture(int32_t id);
  // Pixels are red | green << 8 | blue << 16 | alpha << 24, rows from the top.
  bool SpriteFromPixels(std::span<const int32_t> pixels, int32_t id, int32_t width, int32_t height);
  bool SpriteToPixels(std::vector<int32_t>& pixels, int32_t id);
  // The sprite's image as it is held in its texture. False for an empty slot.
  bool ReadSpriteImage(int32_t id, RgbaImage& image);
  // The sprite's alpha mask (texel rows from the bottom), built on first use; null when the
  // slot is empty.
  const uint8_t* AlphaMask(int32_t id);
  void FreeAlphaMask(int32_t id);
  bool SpriteCollision(int32_t a, int32_t xA, int32_t yA, int32_t b, int32_t xB, int32_t yB);
  bool FrameCollision(int32_t a, int32_t frameA, int32_t xA, int32_t yA, int32_t b, int32_t frameB,
                      int32_t xB, int32_t yB);

  // --- Sprite atlas (sprite_atlas.cpp) ----------------------------------------------------

  // Puts the sprite (its record sized already) on a shared page with its texels, the
  // texels its own texture would hold; false when it keeps to a texture of its own (a
  // font, larger than 256 texels a side, no room, atlas switched off).
  bool PlaceOnAtlas(int32_t id, const TexelBuffer& texels);
  // The sprite's room on its page goes back (a page left empty is deleted). Nothing for a
  // sprite not on a page.
  void LeaveAtlas(int32_t id);
  // A sprite on a page gets its texture of its own too, holding the same texels (once),
  // for every use but drawing texel for pixel.
  void GiveOwnTexture(int32_t id);
  // Its own texture only from now on: for use that writes into it or hands it out.
  void MoveOffAtlas(int32_t id);
  // The texels the sprite's texture holds (texWidth x texHeight, rows from the bottom);
  // false for an empty slot.
  bool ReadSpriteTexels(int32_t id, TexelBuffer& texels);
  struct AtlasSprite {
    AtlasPlace place;
    TexelBuffer texels;  // what a texture of its own would hold
  };
  std::unique_ptr<AtlasPacker> atlasPacker;  // made with the first page
  std::vector<uint32_t> atlasPages;          // GL names by page number (0: none)
  std::unordered_map<int32_t, AtlasSprite> atlasSprites;

  std::vector<SpriteRecord> sprites = std::vector<SpriteRecord>(kSpriteCount);
  std::vector<std::unique_ptr<uint8_t[]>> alphaMasks =
      std::vector<std::unique_ptr<uint8_t[]>>(kSpriteCount);
  int32_t transparentColour = kDefaultTransparentColour;
  int32_t fontColourKey = 0;

  // --- Drawing (drawing.cpp, polygon.cpp) ---------------------------------------------------

  using QuadVertex = qrv::QuadVertex;

  // The bind step: second >= 0 only from the 3D scene; mipmapped picks the mip copy.
  void Bind(int32_t first, int32_t second = -1, bool mipmapped = false);
  // The bound texture's filters from the smoothing setting.
  void ApplyFilters();
  // 0: opaque; > 0: additive; < 0: normal alpha blending; |factor| is the alpha.
  void SetAlphaMode(double factor);
  void SetSmoothing(int32_t flag);
  void ClearScreen(int32_t colour);
  // The corners as one triangle fan, textured with the bound texture or not.
  void DrawQuadFan(const QuadVertex (&corners)[4], bool textured);
  // Under the 2D projection, whether a rectangle (corners in either order) covers no pixel
  // of the drawing area: a sprite there changes nothing and is not handed to GL.
  bool OutsideDrawingArea(double x0, double y0, double x1, double y1) const;
  void DrawSprite(int32_t id, int32_t x, int32_t y);
  void DrawSpriteStretched(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h);
  void DrawSpriteScaled(int32_t id, int32_t x, int32_t y, double sx, double sy);
  void DrawSpriteRotated(int32_t id, float x, float y, float angle, float zoom);
  void DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y);
  void DrawFrameStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h);
  void DrawFrameRotated(int32_t id, int32_t frame, float x, float y, float angle, float zoom);
  void BeginPolygon(int32_t id, int32_t mode);
  void AddPolygonVertex(float x, float y, float tx, float ty, int32_t colour);
  void BreakPolygonStrip();
  void EndPolygon();
  int32_t PolygonVertexCount() const;
  void PlotPixel(int32_t x, int32_t y, int32_t colour);
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
  void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
  // The pixels EllipseSpans gives for the viewport, as one draw.
  void DrawEllipse(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t colour, int32_t filled);

  int32_t boundSprite = -1;  // the sprite the last bind step selected (-1: none)

  // An ellipse's runs and their quads, grown in steps and reused by every ellipse.
  std::vector<PixelSpan> shapeSpans;
  std::vector<QuadVertex> shapeCorners;

  // --- Batching (draw_batching.cpp) ------------------------------------------------------

  // Plain, stretched, scaled and frame sprites wait in a batch and reach GL together, in
  // the order they were drawn, once anything that changes pixels comes. FlushBatch draws
  // them and forgets the GL state the drawing remembers. Whatever draws or reads with GL
  // by its own calls (3D, captures, texture uploads, present) calls it first.
  void FlushBatch();
  // Draws what is pending and hands the vertex arrays over (no buffer bound), for drawing
  // that binds buffers or sets pointers of its own (text, polygons, the 3D scene).
  void HandOverArrays();
  bool secondUnitInUse = true;  // texture unit 1 may be enabled (unknown at first)

  // --- Fonts and text (fonts.cpp, text_drawing.cpp) ------------------------------------------

  // The built-in 5 x 6 font into font slot n: 16 x 8 cells of 8 x 8 pixels, white glyphs
  // with a dark outline.
  void BuildDefaultFont(int32_t font);
  void LoadFont(const RtString& name, int32_t font);
  // Start-up: the built-in font, replaced by "smalfont.png" or "smalfont.bmp" when one
  // resolves; then font 0 is selected.
  void StartDefaultFont();
  void SelectFont(int32_t font);
  // The selected font's cell size; for a TrueType font its widest advance and line height.
  void FontSize(int32_t& width, int32_t& height);
  int32_t FirstFreeFont() const;
  // One triangle strip for the whole text, from the text vertex list.
  void PrintText(int32_t font, std::string_view text, float x, float y, float z);
  // Text in the 3D scene at (x, y, z): facing the camera with cells of scale x cell width,
  // or, with scale 0, projected and printed flat on the screen, centred there.
  void PrintText3D(int32_t font, std::string_view text, float x, float y, float z, float scale);

  struct TextVertex {
    float x, y, z, s, t;
  };
  std::vector<TextVertex> textVertices;  // grown in steps, reused by every print
  int32_t selectedFont = 0;

  // --- TrueType fonts and the text colour (truetype_fonts.cpp, text_colour.cpp) -----------

  // A scalable font file into font slot n (clamped to 0..31), which becomes the selected
  // font; its glyph page is the slot's sprite. Failing, error 3 and the built-in glyphs, as
  // LoadFont; an empty name empties the font.
  void LoadTrueTypeFont(const RtString& name, int32_t font, int32_t pixelHeight);
  // The TrueType font that font slot n holds; null for a bitmap font, an empty slot, or a
  // slot whose sprite was replaced since the font was loaded.
  TrueTypeFace* TrueTypeFontIn(int32_t font);
  // The width of the text as PrintText draws it with the font: bitmap fonts one cell a
  // byte, TrueType fonts their advances and kerning.
  int32_t TextWidth(int32_t font, std::string_view text);
  // The colour text is drawn in (red | green << 8 | blue << 16); white draws as it always did.
  void SetTextColour(int32_t colour);
  int32_t textColour = 0xFFFFFF;

  struct TrueTypeFont {
    std::unique_ptr<TrueTypeFace> face;
    uint32_t texture = 0;  // the slot's texture the glyph page was last uploaded to
  };
  TrueTypeFont trueTypeFonts[kFontCount];
  std::vector<PlacedGlyph> placedGlyphs;  // reused by every TrueType print

  // --- Background images, grabs, surfaces (tiled_images.cpp, screen_grab.cpp, surfaces.cpp)

  bool LoadTiledImage(int32_t slot, std::string_view resolvedName);
  void GrabTiledImage(int32_t slot);
  void DrawTiledImage(int32_t slot);
  void ClearTiledImage(int32_t slot);
  void LoadBackground(const RtString& name);
  void ClearBackground(int32_t colour);
  bool GrabSprite(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h);
  int32_t GetPixel(int32_t x, int32_t y);
  // The transparent colour as the frame buffer stores it: r << 24 | g << 16 | b << 8.
  int32_t ProbeTransparentColour();
  bool SaveScreen(std::string_view name);
  bool SaveSprite(std::string_view name, int32_t id);
  void CreateSurface(int32_t surface, int32_t id, int32_t w, int32_t h);
  int32_t UseSurface(int32_t surface);
  // Flip, before the swap: ends off-screen rendering and keeps a copy of the frame, which
  // SaveScreen writes (the front buffer cannot be read back on every driver).
  void FinishFrame();
  // The copy stays with GL (presented_frame.cpp): read into a buffer object, or copied into
  // a texture where the driver has no pixel buffers. Neither makes the program wait; only
  // reading the copy out does, and that happens when asked.
  void KeepPresentedFrame();
  // The kept frame at the game size, rows from the top; black where nothing was kept.
  RgbaImage ReadPresentedFrame();
  // Present, after the swap: shaders off, the default 2D state, the background image.
  void StartFrame();
  // Frame buffers, tiled images and shader objects go before the context.
  void ReleaseFrameObjects();

  // --- 3D mode on the device (scene_mode.cpp, sprite_billboard.cpp) -------------------------

  // Leaves the scene engine's 3D mode: the 2D state of the current viewport with the alpha
  // mode and smoothing kept, and a cleared depth buffer. Does nothing outside 3D mode.
  void Leave3DMode();
  // A camera-facing sprite at (x, y, z) of the 3D scene: half its pixel size in world units
  // at scale 1, centred horizontally on the point and standing on it.
  void DrawSpriteBillboard(int32_t id, float x, float y, float z, float scale);
  bool in3DMode = false;  // the scene engine's projection and render state are in force

  // --- Window scale (window_scale.cpp) ---------------------------------------------------------

  // QRV_SCALE=N (0: the largest that fits the screen): for N >= 2 the window is N times
  // the game size and the game draws into a game-size frame buffer. Falls back to 1, with
  // a line in the error log, when the driver has no frame buffers or blits.
  void SetUpWindowScale();
  // A new game size (a screen mode): the frame buffer takes it.
  void FollowGameSize();
  // Gives the scale texture and frame buffer the game size; false when refused.
  bool SizeScaleTarget();
  // The frame, copied to the window with nearest-neighbour filtering (scaled only).
  void CopyScaledFrame();
  // Where drawing goes back to after the swap: the scale frame buffer, or the window.
  void DrawIntoScreen();
  // The next frame starts black; its depth buffer cleared when anything may have written it.
  void ClearAfterSwap();
  // The buffer the screen's pixels are read from.
  uint32_t ScreenReadBuffer() const;
  int32_t windowScale = 1;
  Framebuffer scaleTarget;
  uint32_t scaleTexture = 0;

  struct Surface {
    Framebuffer framebuffer;
    uint32_t savedBinding = 0;
    int32_t spriteId = 0;
  };
  TiledImage tiledImages[kTiledImageCount];
  // The last frame shown, copied before the swap into a pixel buffer of its size, or into
  // a texture of at least its size (0: none yet).
  uint32_t presentedBuffer = 0;
  uint32_t presentedTexture = 0;
  int32_t presentedWidth = 0;
  int32_t presentedHeight = 0;
  static constexpr int32_t kSurfaceCount = 32;  // surfaces 0..31
  Surface surfaces[kSurfaceCount];
  int32_t frameAlphaBits = 0;  // the frame buffer's alpha bits, once seen non-zero
  std::vector<uint8_t> grabBuffer;

  // --- Shaders (shaders.cpp) ------------------------------------------------------------------

  bool LoadShader(int32_t slot, std::string_view vertexName, std::string_view fragmentName,
                  ShaderReport report);
  void UseShader(int32_t slot);
  void SetShaderFloat(std::string_view name, float value, ShaderReport report);
  void SetShaderInt(std::string_view name, int32_t value, ShaderReport report);
  void SetShaderAttribute(std::string_view name, float value, ShaderReport report);

  ShaderTable shaders;

 private:
  // Reads come from the back buffer, or from the active surface's frame buffer; returns
  // the size of what is read.
  struct ReadArea {
    int32_t width;
    int32_t height;
  };
  ReadArea SelectReadBuffer();
  void ReleaseSurface();
  void DeleteShaders();
  void PrintFacingCamera(int32_t font, std::string_view text, float x, float y, float z,
                         float scale);
  void PrintProjected(int32_t font, std::string_view text, float x, float y, float z);
  // The glyphs of the line at (x, y) as quads of the sprite batch, one draw.
  void PrintTrueType(int32_t font, TrueTypeFace& face, std::string_view text, float x, float y,
                     float z);
  // The TrueType line as camera-facing quads of scale world units a pixel, standing on and
  // centred on (x, y, z) along the camera's right vector r and up vector u.
  void PrintTrueTypeFacing(int32_t font, TrueTypeFace& face, std::string_view text,
                           const float (&start)[3], const float (&r)[3], const float (&u)[3]);
  // Lays out the text into placedGlyphs (its advance into width) and uploads the page when
  // it gained glyphs; false when there is no page to draw from.
  bool LayOutTrueType(int32_t font, TrueTypeFace& face, std::string_view text, int64_t& width);
  // The text colour and, for TrueType coverage, blending for the draw that follows; Restore
  // puts back what the drawing state expects.
  void ApplyTextColour(bool coverage);
  void RestoreTextColour(bool coverage);
  // Loads the image file into the slot with the colour key: null, or why it failed.
  const char* LoadSpriteImage(const RtString& name, int32_t id, int32_t key, bool normalMap);
  void LoadSpriteFile(const char* command, const RtString& name, int32_t id, bool normalMap);
  void BeginPrimitive(int32_t colour);
  // The corners as one GL draw of the mode, from client memory, textured with the bound
  // texture (whose wrap the caller has set) or not.
  void DrawCorners(std::span<const QuadVertex> corners, uint32_t mode, bool textured);
  // What the sprite bound by BindSprite is used for.
  enum class SpriteUse : uint8_t {
    kBound,     // by others (the public bind step: the 3D scene, polygons, billboards):
                // repeat wrapping, coordinates of their own, so a texture of its own
    kDrawn,     // drawn alone as it is (stretched, scaled, turned, frames): clamped edges
    kExact,     // drawn texel for pixel, reading only the image's texels (plain sprites
                // and frames inside it, 2D projection): from its atlas page if it has one
    kExactOwn,  // drawn texel for pixel otherwise: its own texture, repeat wrapping
  };
  // The bind step for the use that follows. An opaque sprite drawn as it is needs no alpha
  // test nor blending; drawn texel for pixel from the image alone, only the image's
  // texels need to be opaque.
  void BindSprite(int32_t first, int32_t second, bool mipmapped, SpriteUse use);
  // The alpha test and blending the alpha mode asks for on, or off where they would
  // change nothing for what is drawn (!needed: an opaque sprite drawn as it is, without a
  // shader, outside the 3D scene): every texel passes the alpha test in alpha mode 0, and
  // normal blending at full alpha replaces the pixel with the texel.
  void UseTransparency(bool needed);
  // The capability (on while the alpha mode wants it) off when skip, on again when not;
  // skipped says which GL holds.
  void SkipCapability(uint32_t capability, bool skip, bool& skipped);
  // The alpha test was switched off for an opaque sprite (GL_ALPHA_TEST is off while the
  // alpha mode has it on).
  bool alphaTestSkipped = false;
  // Blending was switched off for an opaque sprite (GL_BLEND is off while the alpha mode
  // has it on).
  bool blendSkipped = false;
  bool alphaModeZero = true;       // SetAlphaMode's factor is 0 (unblended, alpha-tested)
  bool fullAlphaBlending = false;  // normal blending with alpha 1 (factor -1 or below)
  // Nearest filtering where the texels land 1:1 on pixels (it gives the same colours as
  // linear there, at less cost); otherwise the smoothing setting.
  void ApplyExactFilters();
  // The bind step and filters of plain sprites and frames (inside: the frame lies within
  // the image); true when drawn from the atlas page, whose coordinates then apply.
  bool BindForExactDrawing(int32_t id, bool inside);
  // Batching (draw_batching.cpp).
  void DrawPendingQuads();
  void QueueFan(const QuadVertex (&corners)[4]);
  // Draws what is pending and forgets the remembered GL state; for the device's own code
  // that calls GL directly.
  void ForgetGlState();
  void UseTexture(uint32_t texture);
  void SetTexturing(bool on);
  void SetWrap(int32_t wrap);
  void SetFilter(int32_t filter);
  // Both parameters of the bound texture to value, unless known says they hold it.
  void SetParameterPair(int32_t& known, int32_t value, uint32_t first, uint32_t second);
  // Draws what is pending and forgets which texture is bound, keeping all else that is
  // known: for the device's own code that binds textures or frame buffers and changes
  // nothing else.
  void ForgetBinding();
  QuadBatch quadBatch;
  TextureUnitState unitState;
  // The default 2D state GL holds, as SetDefault2DState last sent it in full.
  struct HeldView {
    int32_t x, y, w, h, width, height;
    bool turned;
    bool operator==(const HeldView&) const = default;
  };
  struct HeldState {
    bool defaults = false;    // the fixed-function defaults and the 2D matrices for view
    HeldView view{};
    bool opaqueMode = false;  // unblended, alpha-tested, opaque white (alpha mode 0)
  };
  HeldState heldState;
  // Something other than the tracked 2D drawing (which never writes depth: its depth test is
  // off) may have written the depth buffer since the clear that started the frame.
  bool depthMayBeWritten = true;
  // The matrices are the 2D ones SetDefault2DState made: one unit is one pixel.
  bool pixelProjection = false;
  // The sprite bound with repeat wrapping and exact-sampling filters, nothing changed
  // since (-1: none).
  int32_t readySprite = -1;
  bool readyImageOnly = false;  // readySprite was bound for reading its image only
  void EndPrimitive();
  bool CreateWindowWithBestFormat(int32_t width, int32_t height, int32_t samples);
  void ReportSoftwareRenderer();
};

// Draws the text vertex list (or any list of that layout) as one primitive of the GL mode.
void DrawTextVertices(const std::vector<OpenGLZozezezi::TextVertex>& v, unsigned int mode);

// Frame interval in ms for a frame rate: 1000 / rate truncated toward zero, 2 ms when the
// rate is 0 or less.
double FrameIntervalFor(double frameRate);

// The pixels of a GL colour buffer (GL_BACK, or a frame buffer's attachment), rows from
// the top, alpha as the buffer holds it.
RgbaImage ReadFrameBuffer(uint32_t buffer, int32_t width, int32_t height);

// With QRV_CAPTURE=DIR, saves the back buffer as DIR/frame-NNNNNN.png when the present
// under way has a number that QRV_CAPTURE_FRAMES lists ("3,10,250", or "every:K"; every
// present when it is unset). Flip calls it just before the buffer swap, the last moment
// the frame can be read: this renderer's front buffer reads black afterwards.
void CaptureFrameIfAsked(OpenGLZozezezi& device);

}  // namespace qrv
