#include "render/playfield_painter.h"

#include "platform/bitblt.h"
#include "platform/picture_box.h"

namespace {

// Draws the cells of grid whose picture differs from what view shows: a tile
// where a block is (falling or settled alike), background elsewhere.
template <typename Grid, typename Shown>
void DrawGrid(const Grid& grid, int cellSize, PictureBox& view, const PictureBox& background,
              const PictureBox& tiles, Shown& shown) {
    const bool all = shown.picture != view.PictureId();
    for (int y = 0; y < Grid::Height; ++y) {
        for (int x = 0; x < Grid::Width; ++x) {
            const stonerush::Cell& cell = grid(x, y);
            const int16_t now = cell.State != stonerush::CellEmpty ? cell.Tile : -1;
            int16_t& before = shown.cells[x + Grid::Width * y];
            if (!all && now == before) continue;
            before = now;
            const int px = cellSize * x;
            const int py = cellSize * y;
            if (now >= 0)
                BitBlt(view, px, py, cellSize, cellSize, tiles, cellSize * now, 0, SRCCOPY);
            else
                BitBlt(view, px, py, cellSize, cellSize, background, px, py, SRCCOPY);
        }
    }
    shown.picture = view.PictureId();
}

}  // namespace

void PlayfieldPainter::Draw(const stonerush::Game& game, const PlayfieldPictures& pictures) {
    DrawGrid(game.Board, 16, pictures.mainview, pictures.mainsrc, pictures.bloxsrc, board_);
    DrawGrid(game.PreviewGrid, 32, pictures.nextview, pictures.nextsrc, pictures.nbloxsrc, preview_);
    pictures.mainview.Refresh();
    pictures.nextview.Refresh();
}
