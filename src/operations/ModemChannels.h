// What the operations of one modem session work with: its channels, the
// image store and the user's answers.
#pragma once

class VersionQuery;
class ModemReset;
class TelnetSession;
class FtpChain;
class AtChannel;
class ImageStore;
class ChainPlans;
class Prompts;

struct ModemChannels {
  VersionQuery& query;
  ModemReset& reset;
  TelnetSession& telnet;
  FtpChain& chain;
  AtChannel& at;
  ImageStore& store;
  ChainPlans& plans;
  Prompts& prompts;
};
