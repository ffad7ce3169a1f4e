#include "render/playfield_painter.h"

#include "platform/bitblt.h"
#include "platform/picture_box.h"

namespace {

// Draws every cell of grid into view: a tile where a block is, background elsewhere.
template <typename Grid>
void DrawGrid(const Grid& grid, int cellSize, PictureBox& view, const PictureBox& background,
              const PictureBox& tiles) {
    for (int y = 0; y < Grid::Height; ++y) {
        for (int x = 0; x < Grid::Width; ++x) {
            const stonerush::Cell& cell = grid(x, y);
            const int px = cellSize * x;
            const int py = cellSize * y;
            if (cell.State != stonerush::CellEmpty)
                BitBlt(view, px, py, cellSize, cellSize, tiles, cellSize * cell.Tile, 0, SRCCOPY);
            else
                BitBlt(view, px, py, cellSize, cellSize, background, px, py, SRCCOPY);
        }
    }
}

}  // namespace

void DrawPlayfield(const stonerush::Game& game, const PlayfieldPictures& pictures) {
    DrawGrid(game.Board, 16, pictures.mainview, pictures.mainsrc, pictures.bloxsrc);
    DrawGrid(game.PreviewGrid, 32, pictures.nextview, pictures.nextsrc, pictures.nbloxsrc);
    pictures.mainview.Refresh();
    pictures.nextview.Refresh();
}
