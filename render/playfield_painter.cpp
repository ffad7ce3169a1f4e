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
    for (int y = 0; y < Grid::height; ++y) {
        for (int x = 0; x < Grid::width; ++x) {
            const stonerush::Cell& cell = grid.at(x, y);
            const int16_t now = cell.isEmpty() ? -1 : static_cast<int16_t>(cell.tile);
            int16_t& before = shown.cells[x + Grid::width * y];
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

void PlayfieldPainter::Draw(const stonerush::Board& board, const stonerush::Preview& preview,
                            const PlayfieldPictures& pictures) {
    DrawGrid(board, 16, pictures.mainview, pictures.mainsrc, pictures.bloxsrc, board_);
    DrawGrid(preview, 32, pictures.nextview, pictures.nextsrc, pictures.nbloxsrc, preview_);
    pictures.mainview.Refresh();
    pictures.nextview.Refresh();
}
