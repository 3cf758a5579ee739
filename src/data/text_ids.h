// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers of the board file's texts (section "TEXTS"), named once for the code and the tests
// that show them. Each edition gives every number its own words; the comments say what the
// text is for, not what it says.

namespace tomtura {

// ---- Titles, files and the board picture ----
constexpr int kTextBoxTitle = 0;       // the program's name: title of its message boxes
constexpr int kTextPictureFilter = 1;  // file type of board pictures
constexpr int kTextPictureTitle = 2;   // the picture dialog's title
constexpr int kTextBackgroundTitle = 3;
constexpr int kTextPictureError = 4;    // a picture that cannot be a background
constexpr int kTextCurrentPlayer = 5;   // "Turn: %s"
constexpr int kTextLeaveNetwork = 6;    // going on leaves the network game
constexpr int kTextDiscardGame = 7;     // the game in progress would be lost
constexpr int kTextDebtBuy = 8;         // in debt: no purchases
constexpr int kTextDebtUnmortgage = 9;  // in debt: no lifted mortgages
constexpr int kTextDebtHouse = 10;      // in debt: no houses
constexpr int kTextMortgaged = 11;      // the marker after a mortgaged property's name

// ---- The board view's property card ----
constexpr int kTextCardUtilityRent = 12;
constexpr int kTextCardRent = 13;
constexpr int kTextCard = 14;
constexpr int kTextNoOwner = 15;
constexpr int kTextCardMortgage = 16;
constexpr int kTextStreetLabels = 17;
constexpr int kTextStreetValues = 18;
constexpr int kTextStationValues = 19;
constexpr int kTextStationLabels = 20;
constexpr int kTextUtility = 21;
constexpr int kTextJailCard = 22;

// ---- Saved games and the network ----
constexpr int kTextSavedGameFilter = 23;
constexpr int kTextOpenGameTitle = 24;
constexpr int kTextSaveGameTitle = 25;
constexpr int kTextCannotSave = 26;
constexpr int kTextUnknownPort = 27;
constexpr int kTextNetworkFailed = 28;
constexpr int kTextPortTaken = 29;
constexpr int kTextConnectionLost = 30;  // the network game is over
constexpr int kTextPlayerLeft = 31;      // play on without the player who left?
constexpr int kTextDefaultName = 32;     // "%d": a joined player who gave no name
constexpr int kTextChatTitle = 33;       // "%s": the sender of a message
constexpr int kTextNetworkTitle = 34;
constexpr int kTextAddress = 35;
constexpr int kTextConnectFailed = 36;
constexpr int kTextJoinedAs = 37;
constexpr int kTextAwaitingStart = 38;

// ---- The turn ----
constexpr int kTextYourTurn = 39;
constexpr int kTextRemoteFirst = 40;  // waiting for the first throw at another computer
constexpr int kTextCannotPay = 41;    // a player goes bankrupt
constexpr int kTextWinner = 42;

// ---- Buttons and keywords of the questions ----
constexpr int kTextYes = 43;
constexpr int kTextNo = 44;
constexpr int kTextCardKeyword = 45;  // the card that offers a chance card instead
constexpr int kTextCardFineButton = 46;
constexpr int kTextCardChanceButton = 47;
constexpr int kTextJailKeyword = 48;
constexpr int kTextPayButton = 49;
constexpr int kTextStayButton = 50;
constexpr int kTextDebtKeyword = 51;
constexpr int kTextGiveUpButton = 52;
constexpr int kTextChanceHeading = 53;     // also the chance keyword
constexpr int kTextCommunityHeading = 54;  // also the community chest keyword
constexpr int kTextOfferKeyword = 55;

// ---- Passwords and the auction ----
constexpr int kTextPasswordPrompt = 56;
constexpr int kTextWrongPassword = 57;
constexpr int kTextBidTooLow = 58;
constexpr int kTextAuctionWon = 59;
constexpr int kTextAuctionOverTitle = 60;
constexpr int kTextAuctionHighest = 61;
constexpr int kTextAuctionNoBid = 62;
constexpr int kTextAuctionTitle = 63;

// ---- Landing ----
constexpr int kTextJailCardUsed = 64;
constexpr int kTextJailed = 65;
constexpr int kTextPurchaseOffer = 66;
constexpr int kTextRentWithHouses = 67;
constexpr int kTextHousesWord = 68;
constexpr int kTextHotelWord = 69;
constexpr int kTextRentFullGroup = 70;
constexpr int kTextRent = 71;
constexpr int kTextStationRent = 72;
constexpr int kTextStationWord = 73;
constexpr int kTextStationsWord = 74;
constexpr int kTextUtilityRent = 75;
constexpr int kTextUtilitiesWord = 76;
constexpr int kTextUtilityWord = 77;
constexpr int kTextThrowAgain = 78;
constexpr int kTextRemoteTurn = 79;
constexpr int kTextRemoteThrowsAgain = 80;
constexpr int kTextDebtQuestion = 81;
constexpr int kTextBailQuestion = 82;
constexpr int kTextLastJailTurn = 83;

// ---- The computer's dealing ----
constexpr int kTextOfferSale = 84;          // the computer sells to the richest player
constexpr int kTextOfferExchangeGive = 85;  // an exchange in which the computer adds money
constexpr int kTextOfferExchangeGet = 86;   // and one in which it is paid money
constexpr int kTextOfferPurchase = 87;      // the computer buys from a player
constexpr int kTextNoDeals = 88;
constexpr int kTextSummaryMortgaged = 89;  // 89..94: the parts of the computer's summary
constexpr int kTextSummaryUnmortgaged = 90;
constexpr int kTextSummaryBuiltHouses = 91;
constexpr int kTextSummarySoldHouses = 92;
constexpr int kTextSummaryBoughtProperties = 93;
constexpr int kTextSummarySoldProperties = 94;

// ---- The play window ----
constexpr int kTextPartnerAnswers = 95;  // "%s has %sagreed", with text 96 for a no
constexpr int kTextNotWord = 96;
constexpr int kTextConsentTitle = 97;
constexpr int kTextNothingChosen = 98;
constexpr int kTextNotEnoughMoney = 99;
constexpr int kTextBuyExchangeOffer = 100;
constexpr int kTextBuyOffer = 101;
constexpr int kTextPrice = 102;
constexpr int kTextSellExchangeOffer = 103;
constexpr int kTextSellOffer = 104;
constexpr int kTextUnmortgageCaption = 105;
constexpr int kTextUnmortgageExplanation = 106;
constexpr int kTextUnmortgageButton = 107;
constexpr int kTextUneven = 108;
constexpr int kTextSellHouseCaption = 109;
constexpr int kTextSellHouseExplanation = 110;
constexpr int kTextSellHouseButton = 111;
constexpr int kTextBuyTitle = 112;  // 112..117: the pages' titles, also balloons
constexpr int kTextSellTitle = 113;
constexpr int kTextMortgageCaption = 114;
constexpr int kTextUnmortgageTitle = 115;
constexpr int kTextBuyHouseCaption = 116;
constexpr int kTextSellHouseTitle = 117;
constexpr int kTextBuyTab = 118;
constexpr int kTextSellTab = 119;
constexpr int kTextMortgageButton = 120;
constexpr int kTextInDebt = 121;

// ---- Help windows and balloons (124..156 are balloon texts) ----
constexpr int kTextRules = 122;
constexpr int kTextTips = 123;
constexpr int kTextRollTip = 124;
constexpr int kTextPasswordTip = 146;

// ---- Texts added by this program beyond the original catalogue ----
constexpr int kTextNotASavedGame = 157;
constexpr int kTextFirstLapNoOffer = 158;   // why a first-lap player is offered nothing
constexpr int kTextDealAccepted = 159;      // a partner's yes to a play window's offer
constexpr int kTextDealRefused = 160;       // and his no
constexpr int kTextPictureWrongSize = 161;  // whether to try a picture of another size
// The game log's lines and the auction's opening, in the edition's language.
constexpr int kTextLogBought = 162;    // a purchase at the offered price
constexpr int kTextLogDeclined = 163;  // an offer declined, without an auction
constexpr int kTextLogRent = 164;      // rent paid, with the rent message's details
constexpr int kTextLogLandedOn = 165;  // the throw and the property landed on
constexpr int kTextLogRepairs = 166;   // a repair card's bill
constexpr int kTextLogJailCardUsed = 167;
constexpr int kTextLogLandedOnChance = 168;
constexpr int kTextLogLandedOnCommunity = 169;
constexpr int kTextLogLandedOnTax = 170;
constexpr int kTextLogSentToJail = 171;
constexpr int kTextLogLandedOnGo = 172;
constexpr int kTextLogVisitingJail = 173;
constexpr int kTextLogNewGame = 174;
constexpr int kTextLogBankrupt = 175;
constexpr int kTextLogAuctionWon = 176;
constexpr int kTextAuctionOpening = 177;  // before the first bid
constexpr int kTextAuctionOpeningTitle = 178;
constexpr int kTextLogMortgaged = 179;
constexpr int kTextLogUnmortgaged = 180;
constexpr int kTextLogSoldFor = 181;        // the computer's sale, with its price
constexpr int kTextLogHouseSoldFrom = 182;  // the computer's sale of a house
constexpr int kTextLogBuilt = 183;          // a house or hotel built, words 184 and 185
constexpr int kTextLogHouseWord = 184;
constexpr int kTextLogHotelWord = 185;
constexpr int kTextLogExchanged = 186;      // the computer's exchange with money added
constexpr int kTextLogBoughtFor = 187;      // the computer's purchase from a player
constexpr int kTextLogBoughtFrom = 188;     // the play window's purchase from a player
constexpr int kTextLogSoldTo = 189;         // the play window's sale to a player
constexpr int kTextLogHouseSoldOn = 190;    // the play window's sale of a house
constexpr int kTextLogLeftGame = 191;       // a network player gone, and why
constexpr int kTextNoticeButton = 192;      // the one button of a notice
constexpr int kTextLogExchangedPaid = 193;  // the computer's exchange with money received
constexpr int kTextThrown = 194;            // the status line while a throw is settled
// A network player who has left, named; why he left, the second part of the log line 191.
constexpr int kTextPlayerGone = 195;
constexpr int kTextLeftConnectionLost = 196;
constexpr int kTextLeftByChoice = 197;
constexpr int kTextLeftRefused = 198;
constexpr int kTextLeftWaitOver = 199;

}  // namespace tomtura
