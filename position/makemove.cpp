// Making a move on the position and taking it back through the undo stack.
// The material score, piece list, piece counts, castling flags, en-passant
// square and the counters are kept incrementally; each undo entry saves what
// the move overwrote so unmake restores it exactly.
#include "position/makemove.h"

#include "eval/tables.h"
#include "position/key.h"
#include "position/occupancy.h"
#include "position/state.h"

namespace zolt {

namespace {

inline int count_of(const Position& pos, PieceCode code) { return pos.piece_count[code + 5]; }

// The endgame flag: 0 while either side has exactly one queen or one rook,
// or one of the listed minor-piece pairs; 1 otherwise.
inline int32_t endgame_flag(const Position& pos) {
  const int wn = count_of(pos, KNIGHT), wb = count_of(pos, BISHOP);
  const int bn = count_of(pos, -KNIGHT), bb = count_of(pos, -BISHOP);
  if (count_of(pos, QUEEN) == 1 || count_of(pos, -QUEEN) == 1 || count_of(pos, ROOK) == 1 ||
      count_of(pos, -ROOK) == 1)
    return 0;
  if ((bn == 1 && bb == 1) || (wb == 1 && wn == 1) || (bn == 1 && wb == 1) || (wn == 1 && bb == 1)) return 0;
  return 1;
}

// The king's first move: its flag goes, and the entry records which rights
// that took away (nothing when both rook rights were already gone).
inline void king_leaves_start(int32_t& king_moved, int32_t h_moved, int32_t a_moved, int both_code, Move& entry) {
  if (king_moved) return;
  king_moved = 1;
  if (!h_moved && !a_moved)
    entry.kind = both_code;
  else if (!h_moved)
    entry.kind = both_code - 1;
  else if (!a_moved)
    entry.kind = both_code - 2;
}

// A castling rook leaving its square, or a piece captured there, takes that
// right away while the right is still held.
inline void rook_square_touched(int32_t king_moved, int32_t& rook_moved) {
  if (!king_moved) rook_moved = 1;
}

void update_castling_flags(Position& pos, Square from, Square to, int32_t piece, bool capture, Move& entry) {
  if (piece == KING) {
    king_leaves_start(pos.white_king_moved, pos.white_h_rook_moved, pos.white_a_rook_moved, LOST_WHITE_BOTH, entry);
  } else if (piece == -KING) {
    king_leaves_start(pos.black_king_moved, pos.black_h_rook_moved, pos.black_a_rook_moved, LOST_BLACK_BOTH, entry);
  } else if (piece == ROOK && !pos.white_king_moved) {
    if (from == castle_rook_square[WHITE_H_ROOK] && !pos.white_h_rook_moved) {
      pos.white_h_rook_moved = 1;
      entry.kind = LOST_WHITE_KING_SIDE;
    } else if (from == castle_rook_square[WHITE_A_ROOK] && !pos.white_a_rook_moved) {
      pos.white_a_rook_moved = 1;
      entry.kind = LOST_WHITE_QUEEN_SIDE;
    }
  } else if (piece == -ROOK && !pos.black_king_moved) {
    if (from == castle_rook_square[BLACK_H_ROOK] && !pos.black_h_rook_moved) {
      pos.black_h_rook_moved = 1;
      entry.kind = LOST_BLACK_KING_SIDE;
    } else if (from == castle_rook_square[BLACK_A_ROOK] && !pos.black_a_rook_moved) {
      pos.black_a_rook_moved = 1;
      entry.kind = LOST_BLACK_QUEEN_SIDE;
    }
  }
  if (capture) {
    if (to == castle_rook_square[WHITE_H_ROOK]) rook_square_touched(pos.white_king_moved, pos.white_h_rook_moved);
    if (to == castle_rook_square[WHITE_A_ROOK]) rook_square_touched(pos.white_king_moved, pos.white_a_rook_moved);
    if (to == castle_rook_square[BLACK_H_ROOK]) rook_square_touched(pos.black_king_moved, pos.black_h_rook_moved);
    if (to == castle_rook_square[BLACK_A_ROOK]) rook_square_touched(pos.black_king_moved, pos.black_a_rook_moved);
  }
}

struct CastlingGeometry {
  int rook_index;       // into castle_rook_square
  Square king_to;
  Square rook_to;
};

inline CastlingGeometry castling_geometry(int kind) {
  switch (kind) {
    case KIND_WHITE_CASTLE_KING:
      return {WHITE_H_ROOK, G1, F1};
    case KIND_WHITE_CASTLE_QUEEN:
      return {WHITE_A_ROOK, C1, D1};
    case KIND_BLACK_CASTLE_KING:
      return {BLACK_H_ROOK, G8, F8};
    default:
      return {BLACK_A_ROOK, C8, D8};
  }
}

inline bool is_castle_rook_square(Square s) {
  return s == castle_rook_square[0] || s == castle_rook_square[1] || s == castle_rook_square[2] ||
         s == castle_rook_square[3];
}

inline bool is_castling(int kind) { return kind >= KIND_WHITE_CASTLE_KING && kind <= KIND_BLACK_CASTLE_QUEEN; }

// The castling king and rook in their colour's sets, from their origins to
// their destinations (either way: unmake passes them the other way round).
// The origins are cleared first, so they may be among the destinations.
void move_castling_pieces(Position& pos, int colour, Square king_from, Square rook_from, Square king_to,
                          Square rook_to) {
  Bitboard& own = pos.occupied[colour_index(colour)];
  own &= ~(square_bit(king_from) | square_bit(rook_from));
  own |= square_bit(king_to) | square_bit(rook_to);
  Bitboard* own_sets = pos.pieces[colour_index(colour)];
  own_sets[KING] = (own_sets[KING] & ~square_bit(king_from)) | square_bit(king_to);
  own_sets[ROOK] = (own_sets[ROOK] & ~square_bit(rook_from)) | square_bit(rook_to);
}

// Both origins are emptied before both destinations are written, so every
// Chess960 arrangement works, including a king or rook already on its
// destination.
void make_castling(Position& pos, const Move& move, Move& entry) {
  const int kind = move.kind;
  const CastlingGeometry g = castling_geometry(kind);
  const int colour = kind <= KIND_WHITE_CASTLE_QUEEN ? WHITE : BLACK;
  const Square king_from = king_start_square[colour == WHITE ? 0 : 1];
  const Square rook_from = castle_rook_square[g.rook_index];
  const int rook_slot = pos.slot_of[rook_from];
  pos.slot_of[rook_from] = 0;
  pos.board[king_from] = EMPTY;
  pos.board[rook_from] = EMPTY;
  pos.board[g.king_to] = colour * KING;
  pos.board[g.rook_to] = colour * ROOK;
  pos.slot_of[g.rook_to] = rook_slot;
  pos.slot_square[rook_slot] = g.rook_to;
  move_castling_pieces(pos, colour, king_from, rook_from, g.king_to, g.rook_to);
  // The king's square term moves as the move is written: in Chess960 mode
  // its `to` is the castling rook's square.
  const int32_t* psq = piece_square_table[colour * KING];
  pos.material += colour * (psq[move.to] - psq[move.from]);
  if (colour == WHITE)
    pos.white_king = g.king_to;
  else
    pos.black_king = g.king_to;
  entry.from = king_from;
  entry.to = g.king_to;
  entry.captured = EMPTY;
  entry.kind = kind;
}

void unmake_castling(Position& pos, const Move& entry) {
  const CastlingGeometry g = castling_geometry(entry.kind);
  const int colour = entry.kind <= KIND_WHITE_CASTLE_QUEEN ? WHITE : BLACK;
  const Square rook_from = castle_rook_square[g.rook_index];
  const int rook_slot = pos.slot_of[g.rook_to];
  pos.slot_of[g.rook_to] = 0;
  pos.board[g.king_to] = EMPTY;
  pos.board[g.rook_to] = EMPTY;
  pos.board[entry.from] = colour * KING;
  pos.board[rook_from] = colour * ROOK;
  pos.slot_of[rook_from] = rook_slot;
  pos.slot_square[rook_slot] = rook_from;
  move_castling_pieces(pos, colour, g.king_to, g.rook_to, entry.from, rook_from);
  if (colour == WHITE)
    pos.white_king = entry.from;
  else
    pos.black_king = entry.from;
}

// The saved_castling of an undo entry whose move could not change a
// castling flag: unmake then leaves the flags alone.
constexpr int32_t CASTLING_UNCHANGED = -1;

// The counters and saved fields every move shares. Returns the undo entry.
template <int C>
inline Move& begin_move(Position& __restrict__ pos, const Move& __restrict__ move) {
  Move& entry = undo_stack[undo_top];
  ++pos.moves_made;
  ++pos.game_ply;
  ++ply;
  if (C == BLACK) ++fullmove_number;
  pos.side = -C;
  last_move_noisy = move.captured != EMPTY || move.kind != KIND_NORMAL;

  entry.saved_material = pos.material;
  entry.saved_fifty = pos.fifty;
  entry.saved_ep_square = pos.ep_square;
  entry.captured_slot = 0;
  entry.kind = KIND_NORMAL;

  pos.piece_count[move.captured + 5]--;
  pos.endgame = endgame_flag(pos);
  pos.ep_square = NO_SQUARE;
  undo_top++;
  return entry;
}

template <int C>
void make_move_of(Position& __restrict__ pos, const Move& __restrict__ move) {
  const Square from = move.from, to = move.to;
  const int kind = move.kind;
  const int32_t piece = pos.board[from];
  Move& entry = begin_move<C>(pos, move);

  if (is_castling(kind)) {
    entry.saved_castling = pack_castling(pos);
    // The right is spent with the king's move; the rook keeps its slot.
    update_castling_flags(pos, from, to, piece, false, entry);
    // The clock counts on when the move's destination is empty; a Chess960
    // castling move names the occupied rook square and so resets it.
    pos.fifty = pos.board[to] != EMPTY ? 0 : pos.fifty + 1;
    make_castling(pos, move, entry);
    return;
  }

  const int32_t target = pos.board[to];
  const int type = piece * C;
  const int32_t* squares = piece_square_table[piece];
  pos.material += C * (squares[to] - squares[from]);
  pos.material -= piece_value[kind == KIND_EN_PASSANT ? move.captured : target];
  pos.fifty = (target != EMPTY || type == PAWN) ? 0 : pos.fifty + 1;

  if (type == KING) (C == WHITE ? pos.white_king : pos.black_king) = to;
  // Only king and rook moves and captures on a castling rook's square can
  // take a castling right away, and none is left to take once both kings
  // have moved.
  const bool touches_rights = type == KING || type == ROOK || (target != EMPTY && is_castle_rook_square(to));
  if (touches_rights && pos.white_king_moved + pos.black_king_moved != 2) {
    entry.saved_castling = pack_castling(pos);
    update_castling_flags(pos, from, to, piece, target != EMPTY, entry);
  } else {
    entry.saved_castling = CASTLING_UNCHANGED;
  }

  if (type == PAWN && (to - from == 20 || to - from == -20)) pos.ep_square = (from + to) / 2;

  const int slot = pos.slot_of[from];
  pos.slot_of[from] = 0;
  pos.slot_square[slot] = to;
  entry.from = from;
  entry.to = to;
  const Bitboard move_bits = square_bit(from) | square_bit(to);
  Bitboard* own_sets = pos.pieces[colour_index(C)];
  Bitboard* enemy_sets = pos.pieces[colour_index(-C)];
  pos.occupied[colour_index(C)] ^= move_bits;
  own_sets[type] ^= move_bits;
  pos.board[from] = EMPTY;

  if (kind == KIND_EN_PASSANT) {
    const Square victim = to + 10 * C;
    const int victim_slot = pos.slot_of[victim];
    entry.captured_slot = victim_slot;
    pos.slot_square[victim_slot] = 0;
    pos.slot_of[victim] = 0;
    pos.slot_of[to] = slot;
    pos.board[to] = piece;
    pos.board[victim] = EMPTY;
    pos.occupied[colour_index(-C)] ^= square_bit(victim);
    enemy_sets[PAWN] ^= square_bit(victim);
    entry.captured = -C * PAWN;
    entry.kind = KIND_EN_PASSANT;
    return;
  }

  const int captured_slot = pos.slot_of[to];
  entry.captured_slot = captured_slot;
  pos.slot_square[captured_slot] = 0;
  pos.slot_of[to] = slot;
  entry.captured = target;
  pos.occupied[colour_index(-C)] &= ~square_bit(to);
  enemy_sets[target * -C] &= ~square_bit(to);  // row EMPTY stays empty
  if (kind >= KIND_WHITE_PROMOTE_QUEEN) {
    // Queen, rook, bishop, knight in kind order.
    const int first = C == WHITE ? KIND_WHITE_PROMOTE_QUEEN : KIND_BLACK_PROMOTE_QUEEN;
    const int promoted_type = QUEEN - (kind - first);
    pos.board[to] = C * promoted_type;
    own_sets[PAWN] ^= square_bit(to);
    own_sets[promoted_type] |= square_bit(to);
    pos.material += piece_value[C * promoted_type] - piece_value[piece];
    entry.kind = kind;
  } else {
    pos.board[to] = piece;
  }
  pos.slot_square[0] = 0;  // the scratch slot takes king moves and non-captures
}

// Takes back the move of colour C recorded in entry.
template <int C>
void unmake_move_of(Position& __restrict__ pos, const Move& __restrict__ entry) {
  --ply;
  --pos.moves_made;
  --pos.game_ply;
  if (C == BLACK) --fullmove_number;
  pos.side = C;

  pos.fifty = entry.saved_fifty;
  pos.material = entry.saved_material;
  pos.ep_square = entry.saved_ep_square;
  if (entry.saved_castling != CASTLING_UNCHANGED) unpack_castling(pos, entry.saved_castling);
  pos.piece_count[entry.captured + 5]++;

  const int kind = entry.kind;
  if (is_castling(kind)) {
    unmake_castling(pos, entry);
    return;
  }
  const Square from = entry.from, to = entry.to;
  const int32_t piece = pos.board[to];
  const int type = piece * C;
  const int slot = pos.slot_of[to];
  pos.slot_square[slot] = from;
  pos.slot_of[from] = slot;
  const Bitboard to_bit = square_bit(to), from_bit = square_bit(from);
  Bitboard* own_sets = pos.pieces[colour_index(C)];
  Bitboard* enemy_sets = pos.pieces[colour_index(-C)];
  pos.occupied[colour_index(C)] ^= from_bit | to_bit;
  // The piece on `to` goes back to `from`, a promoted one as the pawn it was.
  const bool promotion = kind >= KIND_WHITE_PROMOTE_QUEEN;
  own_sets[type] ^= to_bit;
  own_sets[promotion ? PAWN : type] ^= from_bit;

  if (kind == KIND_EN_PASSANT) {
    const Square victim = to + 10 * C;
    pos.slot_of[to] = 0;
    pos.board[from] = piece;
    pos.board[to] = EMPTY;
    pos.board[victim] = -C * PAWN;
    pos.occupied[colour_index(-C)] |= square_bit(victim);
    enemy_sets[PAWN] |= square_bit(victim);
    pos.slot_of[victim] = entry.captured_slot;
    pos.slot_square[entry.captured_slot] = victim;
    return;
  }

  pos.slot_of[to] = entry.captured_slot;
  pos.slot_square[entry.captured_slot] = to;  // slot 0 absorbs this when nothing was taken
  pos.board[to] = entry.captured;
  if (entry.captured != EMPTY) {
    pos.occupied[colour_index(-C)] |= to_bit;
    enemy_sets[entry.captured * -C] |= to_bit;
  }
  pos.board[from] = promotion ? C * PAWN : piece;
  pos.slot_square[0] = 0;
  if (type == KING) (C == WHITE ? pos.white_king : pos.black_king) = from;
}

// What the move of `entry`, just made, changed in the key's pieces and
// castling rights, read from the position after it.
uint64_t key_change(const Position& pos, const Move& entry) {
  const int colour = -pos.side;
  const int kind = entry.kind;
  uint64_t change = 0;
  if (entry.saved_castling != CASTLING_UNCHANGED)
    change ^= castling_key(entry.saved_castling) ^ castling_key(pack_castling(pos));
  if (is_castling(kind)) {
    const CastlingGeometry g = castling_geometry(kind);
    return change ^ piece_key(colour * KING, entry.from) ^ piece_key(colour * KING, g.king_to) ^
           piece_key(colour * ROOK, castle_rook_square[g.rook_index]) ^ piece_key(colour * ROOK, g.rook_to);
  }
  const Square from = entry.from, to = entry.to;
  const PieceCode arrived = pos.board[to];
  const PieceCode left = kind >= KIND_WHITE_PROMOTE_QUEEN ? colour * PAWN : arrived;
  change ^= piece_key(left, from) ^ piece_key(arrived, to);
  if (kind == KIND_EN_PASSANT) return change ^ piece_key(-colour * PAWN, to + 10 * colour);
  return change ^ piece_key(entry.captured, to);
}

// The move with the key kept: out of line, so that the search without keys
// keeps its make inlined as before.
[[gnu::noinline]] void make_move_keeping_key(Position& pos, const Move& move) {
  const uint64_t before = pos.key;
  const uint64_t en_passant_before = en_passant_key(pos);
  key_stack[undo_top] = before;
  if (pos.side == WHITE)
    make_move_of<WHITE>(pos, move);
  else
    make_move_of<BLACK>(pos, move);
  pos.key = before ^ en_passant_before ^ key_change(pos, undo_stack[undo_top - 1]) ^ en_passant_key(pos) ^
            POLYGLOT_RANDOM[WHITE_TO_MOVE_RANDOM];
}

}  // namespace

void make_move(Position& pos, const Move& move) {
  if (key_tracking) {
    make_move_keeping_key(pos, move);
    return;
  }
  if (pos.side == WHITE)
    make_move_of<WHITE>(pos, move);
  else
    make_move_of<BLACK>(pos, move);
}

void unmake_move(Position& pos) {
  const Move& entry = undo_stack[--undo_top];
  // The side to move now is the one that did not make the move.
  if (pos.side == BLACK)
    unmake_move_of<WHITE>(pos, entry);
  else
    unmake_move_of<BLACK>(pos, entry);
  if (key_tracking) pos.key = key_stack[undo_top];
}

}  // namespace zolt
