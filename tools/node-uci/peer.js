// A client built on the npm library node-uci, as a web front end or a bot
// bridge would use it: 20 searches (fixed depths, move times, and infinite
// searches ended by "stop"), each printing one line "bestmove <move> [ponder
// <move>]" with what node-uci read. The library takes what each read of the
// pipe returns for whole lines, so an engine whose lines leave in pieces
// shows here as cut moves.
// Usage: node peer.js <engine> (with NODE_PATH naming node-uci's node_modules)
'use strict';
const { Engine } = require('node-uci');

const POSITIONS = [
  'startpos',
  'rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2',
  'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 10',
  'r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8',
  '8/5P1k/8/8/8/8/6p1/K7 w - - 0 1',
];
const SEARCHES_PER_POSITION = 4;
const INFINITE_MS = 300;
const GIVE_UP_MS = 240000;

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function report(result) {
  const ponder = result.ponder ? ` ponder ${result.ponder}` : '';
  console.log(`bestmove ${result.bestmove}${ponder}`);
}

async function search(engine, kind) {
  if (kind === 0) return engine.go({ depth: 5 });
  if (kind === 1) return engine.go({ movetime: 200 });
  if (kind === 2) return engine.go({ wtime: 3000, btime: 3000, winc: 20, binc: 20 });
  engine.goInfinite();
  await sleep(INFINITE_MS);
  return engine.stop();
}

async function main() {
  const engine = new Engine(process.argv[2]);
  await engine.init();
  await engine.isready();
  for (const position of POSITIONS) {
    for (let kind = 0; kind < SEARCHES_PER_POSITION; ++kind) {
      await engine.position(position);
      report(await search(engine, kind));
    }
  }
  await engine.quit();
}

setTimeout(() => {
  console.error('node-uci peer: no answer in time');
  process.exit(3);
}, GIVE_UP_MS).unref();
main().catch((error) => {
  console.error(`node-uci peer: ${error && error.stack ? error.stack : error}`);
  process.exit(1);
});
