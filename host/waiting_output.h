// Program output that waits to be written into the output area. It is kept
// in pieces, so that gathering much never copies what is already held and
// writing frees each piece as it goes; a piece whose characters are all
// Latin-1 holds one byte per character, half the memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

class WaitingOutput {
 public:
  // The size of a piece (characters): small enough for the memory of
  // written pieces to serve again, large enough that writing takes few
  // steps. A longer text has a piece of its own.
  static constexpr qsizetype kPieceSize = qsizetype(1) << 15;

  // Adds text after what waits. A piece ends only between two texts added,
  // as output written at two pumps does.
  void Add(QStringView text);
  bool IsEmpty() const { return pieces_.empty(); }
  void Clear() { pieces_.clear(); }
  // Hands what waits, piece by piece and in order, to write (called with a
  // QString), and empties it.
  template <class Write>
  void Drain(Write write) {
    std::vector<Piece> pieces = std::exchange(pieces_, {});
    for (Piece& piece : pieces) write(piece.Take());
  }

 private:
  class Piece {
   public:
    Piece(bool latin1, qsizetype capacity);
    // Whether text, Latin-1 or not, goes into this piece.
    bool Takes(QStringView text, bool latin1) const;
    void Append(QStringView text);
    // The piece's text; the piece is left empty.
    QString Take();

   private:
    bool latin1_;
    QByteArray narrow_;  // the text while latin1_
    QString wide_;       // otherwise
  };

  std::vector<Piece> pieces_;
};
