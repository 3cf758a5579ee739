#pragma once
// A small board of our own for the rule tests, and a game around it whose answers a test can
// script. Its texts are short so that tests can state whole messages and log lines.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "rules/game.h"
#include "rules/headless.h"

namespace tomtura::turn_test {

inline std::string TestBoardText() {
  return R"([TEXTS]
0=Tomtura
11=intecknad
39=Din tur
40=%s börjar
41=%s kan inte betala
42=%s har vunnit
43=Ja
44=Nej
45=Välj
46=Betala
47=Dra kort
48=borgen
49=Ja
50=Nej
51=spelfönstret
52=Nej
53=Chans
54=Allmänning
55=Skatt
56=%s, ange lösenord
57=Fel lösenord
58=Budet är för lågt
59=%s köpte %s för %d kr
60=Såld
61=%s kostar %d kr. %s bjuder %d kr. %s, ditt bud?
62=%s kostar %d kr. Inget bud. %s, ditt bud?
63=Budgivare: %s
64=Du använder ditt frikort
65=Du hamnar i fängelse
66=%s, köpa %s för %d kr?
67=Hyra||%s ägs av %s med %d %s.|Hyran är %d kr.
68=hus
69=hotell
70=Hyra||%s: %s äger hela gruppen. Hyran är %d kr.
71=Hyra||%s ägs av %s. Hyran är %d kr.
72=Station||%s: %s har %d %s. Hyran är %d kr.
73=station
74=stationer
75=Verk||%s: %s har %d %s. Hyran är %d kr.
76=verk
77=verket
78=Slå igen
79=%s spelar%s
80= och slår igen
81=Du har skulder. Öppna spelfönstret?
82=%s sitter inne. Betala borgen?
83=Sista turen inne: du betalar 1000 kr
84=%s, köpa %s för %d kr av %s?
85=%s, byta %s mot %s från %s och %d kr?
86=%s, byta %s från %s mot %s och få %d kr?
87=%s, sälja %s till %s för %d kr?
88=%s gör inget
89=intecknade
90=löste in
91=byggde
92=sålde hus
93=köpte
94=sålde
95=%s svarar:%s
96= nej
97=Tomtura - %s
[GATOR]
1=Ekgatan,1200,1000,40,200,600,1800,3200,5000,0
2=Almgatan,1200,1000,80,400,1200,3600,6400,9000,0
3=Björkvägen,2000,1000,120,600,1800,5400,8000,11000,1
4=Granvägen,2000,1000,120,600,1800,5400,8000,11000,1
5=Tallvägen,2400,1000,160,800,2000,6000,9000,12000,1
6=Lindallén,2800,2000,200,1000,3000,9000,12500,15000,2
7=Lönnallén,2800,2000,200,1000,3000,9000,12500,15000,2
8=Askallén,3200,2000,240,1200,3600,10000,14000,18000,2
9=Hamngatan,3600,2000,280,1400,4000,11000,15000,19000,3
10=Kajgatan,3600,2000,280,1400,4000,11000,15000,19000,3
11=Bryggvägen,4000,2000,320,1600,4400,12000,16000,20000,3
12=Torgvägen,4400,3000,360,1800,5000,14000,17500,21000,4
13=Marknadsgatan,4400,3000,360,1800,5000,14000,17500,21000,4
14=Rådhusgatan,4800,3000,400,2000,6000,15000,18500,22000,4
15=Parkvägen,5200,3000,440,2200,6600,16000,19500,23000,5
16=Lundvägen,5200,3000,440,2200,6600,16000,19500,23000,5
17=Ängsvägen,5600,3000,480,2400,7200,17000,20500,24000,5
18=Slottsgatan,6000,4000,520,2600,7800,18000,22000,25500,6
19=Borggatan,6000,4000,520,2600,7800,18000,22000,25500,6
20=Tornvägen,6400,4000,560,3000,9000,20000,24000,28000,6
21=Strandvägen,7000,4000,700,3500,10000,22000,26000,30000,7
22=Utsiktsvägen,8000,4000,1000,4000,12000,28000,34000,40000,7
23=Norra stationen,4000,0,500,0,0,0,0,0,8
24=Östra stationen,4000,0,500,0,0,0,0,0,8
25=Södra stationen,4000,0,500,0,0,0,0,0,8
26=Västra stationen,4000,0,500,0,0,0,0,0,8
27=Elverket,3000,0,0,0,0,0,0,0,9
28=Vattenverket,3000,0,0,0,0,0,0,0,9
29=Frikort Chans,0,0,0,0,0,0,0,0,10
30=Frikort Allmänning,0,0,0,0,0,0,0,0,10
[CHANS]
1=Frikort: du kommer ut ur fängelset
2=Reparationer|800 kr per hus, 2300 kr per hotell
3=Reparationer|500 kr per hus, 2000 kr per hotell
4=Utdelning@500
5=Vinst@1000
6=Lånet förfaller@1500
7=Böter@150
8=Skolavgift@1500
9=Fyllebot@200
10=Gå i fängelse@10
11=Gå till Gå@0
12=Gå till Torgvägen@24
13=Gå till Lindallén@11
14=Gå till Utsiktsvägen@39
15=Gå till Norra stationen@5
16=Gå tre steg tillbaka
[ALLM]
1=Frikort: du kommer ut ur fängelset
2=Välj: betala 200 kr eller dra ett chanskort
3=Du fyller år|Alla ger dig 200 kr
4=Arv@1000
5=Skatteåterbäring@200
6=Räntor@500
7=Andrapris@100
8=Försäkring@1000
9=Lön@2000
10=Gåva@250
11=Läkare@500
12=Sjukhus@1000
13=Skola@1500
14=Gå till Gå@0
15=Gå tillbaka till Ekgatan
16=Gå i fängelse@10
)";
}

inline TextCatalogue TestCatalogue() {
  return TextCatalogue(IniFile::Parse(TestBoardText()));
}

// Answers like the headless front end unless a test has queued answers of its own.
class ScriptedFrontEnd : public HeadlessFrontEnd {
 public:
  std::deque<int> answers;            // the next AskQuestion results
  std::vector<QuestionParams> asked;  // every question and notice, in order
  std::deque<bool> passwords;         // the next AskPassword results
  int auctionWinner = -1;             // RunAuction's answer when set (>= 0)
  int auctionsRun = 0;

  int AskQuestion(const QuestionParams& question) override {
    asked.push_back(question);
    if (answers.empty()) return HeadlessFrontEnd::AskQuestion(question);
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool AskPassword() override {
    HeadlessFrontEnd::AskPassword();
    if (passwords.empty()) return true;
    bool answer = passwords.front();
    passwords.pop_front();
    return answer;
  }
  int RunAuction() override {
    ++auctionsRun;
    if (auctionWinner < 0) return HeadlessFrontEnd::RunAuction();
    return auctionWinner;
  }
};

inline constexpr const char* kTestNames[kMaxPlayers] = {"Anna",  "Bertil", "Cecilia",
                                                        "David", "Erik",   "Fia"};

// A new game on the test board; players are persons at this computer unless `computers` says
// otherwise (bit i = player i is a computer player).
struct TestGame {
  explicit TestGame(int players, unsigned computers = 0, std::uint64_t seed = 1)
      : game(TestCatalogue(), ui, seed), state(game.state) {
    ui.Attach(game);
    state.playerCount = players;
    for (int i = 0; i < kMaxPlayers; ++i) {
      state.players[i].name.setUtf8(kTestNames[i]);
      state.players[i].isComputer = static_cast<std::int16_t>((computers >> i) & 1u);
      state.players[i].token = static_cast<std::int16_t>(i);
    }
    game.NewGame(false);
    state.firstLap.fill(0);
  }

  // Gives property p to `player` as a purchase would (his list kept in step).
  void Give(int p, int player) {
    state.properties[p].owner = static_cast<std::int16_t>(player);
    game.RefreshPropertyLists();
  }

  // The current player's token comes to rest on `square` after throwing d1 and d2.
  int LandOn(int square, int d1, int d2, TurnPhase phase = TurnPhase::Moving) {
    state.current().position = static_cast<std::int16_t>(square);
    state.die1 = d1;
    state.die2 = d2;
    state.turnPhase = phase;
    return game.ResolveLanding(false);
  }

  // The newest log line, with its leading player digit.
  std::string LastLog(std::size_t back = 0) const {
    const auto& entries = state.log.entries();
    return back < entries.size() ? entries[back] : std::string();
  }

  ScriptedFrontEnd ui;
  Game game;
  GameState& state;
};

}  // namespace tomtura::turn_test
