#pragma once

// The "campaign" and "merge" commands of prrsim-batch; `argv[0]` is the command's name.
// Exit status: 0 done; 2 bad input (one line on stderr, nothing run or written); 1 internal
// failure (a result file could not be written).

namespace prrsim::batch {

//   campaign CAMPAIGN.json [--threads N] [--shard K/N] [--out DIR]
int campaignCommand(int argc, char** argv);
//   merge DIR... --out DIR
int mergeCommand(int argc, char** argv);

}  // namespace prrsim::batch
