#pragma once

// The "campaign" and "merge" commands of prrsim-batch; `argv[0]` is the command's name.
// Exit status: 0 done (also --help); 2 bad input (one line on stderr, nothing run or written);
// 1 a file could not be written (one line naming it); 130 or 143 stopped by SIGINT or SIGTERM,
// the runs done kept for --resume.

namespace prrsim::batch {

//   campaign CAMPAIGN.json [--threads N] [--shard K/N] [--out DIR] [--resume] [--quiet]
int campaignCommand(int argc, char** argv);
//   merge DIR... --out DIR
int mergeCommand(int argc, char** argv);

}  // namespace prrsim::batch
