<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>BalloonTips</name>
    <message>
        <source>Exit Tomtura</source>
        <translation>Avsluta Tomtura</translation>
    </message>
    <message>
        <source>How well the computer plays:
Easy makes a beginner&apos;s mistakes,
Hard plays to win</source>
        <translation>Hur bra datorn spelar:
Lätt gör en nybörjares misstag,
Svår spelar för att vinna</translation>
    </message>
    <message>
        <source>Go on with a saved game</source>
        <translation>Fortsätt ett sparat spel</translation>
    </message>
</context>
<context>
    <name>BoardFileReport</name>
    <message>
        <source>the file itself</source>
        <translation>själva filen</translation>
    </message>
    <message>
        <source>the numbered texts (section [TEXTS])</source>
        <translation>de numrerade texterna (avsnittet [TEXTS])</translation>
    </message>
    <message>
        <source>the streets (section [GATOR])</source>
        <translation>gatorna (avsnittet [GATOR])</translation>
    </message>
    <message>
        <source>streets %1 of section [GATOR]</source>
        <translation>gatorna %1 i avsnittet [GATOR]</translation>
    </message>
    <message>
        <source>the chance cards (section [CHANS])</source>
        <translation>chanskorten (avsnittet [CHANS])</translation>
    </message>
    <message>
        <source>the community cards (section [ALLM])</source>
        <translation>allmänningskorten (avsnittet [ALLM])</translation>
    </message>
    <message>
        <source>The board file %1 cannot be played with. Missing:
%2

No game can be started.</source>
        <translation>Det går inte att spela med spelplansfilen %1. Det saknas:
%2

Inget spel kan startas.</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Look in:</source>
        <translation>Leta i:</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nej</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öppna</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Spara</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Stäng</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Network games use port &lt;n&gt;.</source>
        <translation>Nätverksspel använder port &lt;n&gt;.</translation>
    </message>
    <message>
        <source>A saved game to open.</source>
        <translation>Ett sparat spel att öppna.</translation>
    </message>
    <message>
        <source>--port needs a number from 1 to 65535, not &quot;%1&quot;</source>
        <translation>--port behöver ett tal från 1 till 65535, inte ”%1”</translation>
    </message>
    <message>
        <source>Play the edition of language &lt;lang&gt; (sv, en, ...).</source>
        <translation>Spela utgåvan på språket &lt;lang&gt; (sv, en …).</translation>
    </message>
    <message>
        <source>no edition &quot;%1&quot;; there are: %2</source>
        <translation>ingen utgåva ”%1”; det finns: %2</translation>
    </message>
</context>
<context>
    <name>tomtura::AboutDialog</name>
    <message>
        <source>About Tomtura</source>
        <translation>Om Tomtura</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Tomtura is free software under the GNU General Public License, version 3 or later. Its pictures, sounds, music and board texts are under CC BY-SA 4.0.</source>
        <translation>Tomtura är fri programvara enligt GNU General Public License, version 3 eller senare. Bilderna, ljuden, musiken och spelplanens texter står under CC BY-SA 4.0.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Handbok</translation>
    </message>
</context>
<context>
    <name>tomtura::AuctionDialog</name>
    <message>
        <source>Tomtura - Auction</source>
        <translation>Tomtura – auktion</translation>
    </message>
    <message>
        <source>&amp;Bid:</source>
        <translation>&amp;Bud:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Lösenord:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::ChatDialog</name>
    <message>
        <source>Tomtura - Message</source>
        <translation>Tomtura – meddelande</translation>
    </message>
    <message>
        <source>&amp;Recipients:</source>
        <translation>&amp;Mottagare:</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>Medde&amp;lande:</translation>
    </message>
    <message>
        <source>Send to &amp;all</source>
        <translation>Skicka till &amp;alla</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Skicka</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::EditionMenu</name>
    <message>
        <source>&amp;Edition</source>
        <translation>Utgå&amp;va</translation>
    </message>
    <message>
        <source>Tomtura</source>
        <translation>Tomtura</translation>
    </message>
    <message>
        <source>%1 is played from the next start of Tomtura. Start it again now?</source>
        <translation>%1 spelas från nästa gång Tomtura startar. Vill du starta om nu?</translation>
    </message>
</context>
<context>
    <name>tomtura::GameFiles</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 finns redan.
Vill du ersätta den?</translation>
    </message>
    <message>
        <source>The game is saved, but its statistics cannot be written to %1.</source>
        <translation>Spelet är sparat, men dess statistik kan inte skrivas till %1.</translation>
    </message>
</context>
<context>
    <name>tomtura::HostLobbyDialog</name>
    <message>
        <source>Saved &amp;game...</source>
        <translation>Spara&amp;t spel...</translation>
    </message>
    <message>
        <source>%1 (out of the game)</source>
        <translation>%1 (ute ur spelet)</translation>
    </message>
    <message>
        <source>%1 (awaited)</source>
        <translation>%1 (väntas)</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Lätt</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Svår</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Keep the seat of a player whose connection breaks &amp;for</source>
        <translation>Håll platsen för en spelare vars &amp;förbindelse bryts i</translation>
    </message>
    <message>
        <source>%1 (computer)</source>
        <translation>%1 (dator)</translation>
    </message>
    <message>
        <source>Tomtura - Network game: waiting for players</source>
        <translation>Tomtura – nätverksspel: väntar på spelare</translation>
    </message>
    <message>
        <source>Joined players</source>
        <translation>Anslutna spelare</translation>
    </message>
    <message>
        <source>&amp;Your name</source>
        <translation>&amp;Ditt namn</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starta</translation>
    </message>
    <message>
        <source>&amp;Computer player</source>
        <translation>Dato&amp;rspelare</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::JoinDialog</name>
    <message>
        <source>Tomtura - Network game: connect to the host</source>
        <translation>Tomtura – nätverksspel: anslut till värden</translation>
    </message>
    <message>
        <source>&amp;Address</source>
        <translation>&amp;Adress</translation>
    </message>
    <message>
        <source>&amp;Your name</source>
        <translation>&amp;Ditt namn</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Ansluter …</translation>
    </message>
</context>
<context>
    <name>tomtura::LoginDialog</name>
    <message>
        <source>Tomtura - Login</source>
        <translation>Tomtura – inloggning</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Lösenord:</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::MainWindow</name>
    <message>
        <source>The statistics window cannot be loaded:
%1</source>
        <translation>Statistikfönstret kan inte läsas in:
%1</translation>
    </message>
    <message>
        <source>&amp;Game</source>
        <translation>&amp;Spel</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Inställningar</translation>
    </message>
    <message>
        <source>&amp;Display</source>
        <translation>&amp;Utseende</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>S&amp;pela</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>Game log</source>
        <translation>Spellogg</translation>
    </message>
    <message>
        <source>&amp;New game</source>
        <translation>&amp;Nytt spel</translation>
    </message>
    <message>
        <source>&amp;Add player...</source>
        <translation>&amp;Lägg till spelare…</translation>
    </message>
    <message>
        <source>&amp;Save game...</source>
        <translation>&amp;Spara spelet…</translation>
    </message>
    <message>
        <source>&amp;Load game...</source>
        <translation>&amp;Öppna sparat spel…</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Avsluta</translation>
    </message>
    <message>
        <source>S&amp;ound</source>
        <translation>&amp;Ljud</translation>
    </message>
    <message>
        <source>&amp;Music</source>
        <translation>&amp;Musik</translation>
    </message>
    <message>
        <source>&amp;Stretch board</source>
        <translation>&amp;Sträck ut spelplanen</translation>
    </message>
    <message>
        <source>&amp;Hide properties</source>
        <translation>&amp;Dölj gatorna</translation>
    </message>
    <message>
        <source>&amp;Fast movement</source>
        <translation>Snabba &amp;förflyttningar</translation>
    </message>
    <message>
        <source>Save &amp;players</source>
        <translation>Spara s&amp;pelarna</translation>
    </message>
    <message>
        <source>&amp;Default background</source>
        <translation>&amp;Standardbakgrund</translation>
    </message>
    <message>
        <source>&amp;Load background...</source>
        <translation>&amp;Välj bakgrund…</translation>
    </message>
    <message>
        <source>&amp;Flat buttons</source>
        <translation>&amp;Platta knappar</translation>
    </message>
    <message>
        <source>&amp;Auction</source>
        <translation>&amp;Auktion</translation>
    </message>
    <message>
        <source>&amp;Can&apos;t buy on first lap</source>
        <translation>&amp;Inga köp första varvet</translation>
    </message>
    <message>
        <source>Game &amp;log</source>
        <translation>Spello&amp;gg</translation>
    </message>
    <message>
        <source>&amp;Roll</source>
        <translation>&amp;Slå</translation>
    </message>
    <message>
        <source>&amp;Buy property from...</source>
        <translation>&amp;Köp gata av…</translation>
    </message>
    <message>
        <source>&amp;Sell property to...</source>
        <translation>S&amp;älj gata till…</translation>
    </message>
    <message>
        <source>&amp;Mortgage property...</source>
        <translation>&amp;Inteckna gata…</translation>
    </message>
    <message>
        <source>&amp;Pay off mortgage...</source>
        <translation>&amp;Lös in gata…</translation>
    </message>
    <message>
        <source>Buy &amp;house...</source>
        <translation>Köp &amp;hus…</translation>
    </message>
    <message>
        <source>Sell h&amp;ouse...</source>
        <translation>Sälj h&amp;us…</translation>
    </message>
    <message>
        <source>Se&amp;nd message...</source>
        <translation>Skicka &amp;meddelande…</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>&amp;Hjälp…</translation>
    </message>
    <message>
        <source>&amp;Rules...</source>
        <translation>&amp;Regler…</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Om Tomtura…</translation>
    </message>
    <message>
        <source>The first-lap rule changes from the next game; this game keeps the rule it began with.</source>
        <translation>Regeln om första varvet ändras från nästa spel; det här spelet behåller regeln det började med.</translation>
    </message>
    <message>
        <source>S&amp;tatistics...</source>
        <translation>S&amp;tatistik...</translation>
    </message>
    <message>
        <source>Do you want to see how the game went?</source>
        <translation>Vill du se hur spelet gick?</translation>
    </message>
</context>
<context>
    <name>tomtura::NetworkDialog</name>
    <message>
        <source>Only the &amp;basic messages</source>
        <translation>Bara &amp;grundmeddelandena</translation>
    </message>
    <message>
        <source>For a computer that does not know this program&apos;s newer messages: no coming back after a lost connection, no offers in each edition&apos;s words</source>
        <translation>För en dator som inte känner detta programs nyare meddelanden: ingen återkomst efter en bruten förbindelse, inga erbjudanden med varje utgåvas ord</translation>
    </message>
    <message>
        <source>&amp;Host a network game</source>
        <translation>&amp;Var värd för ett nätverksspel</translation>
    </message>
    <message>
        <source>&amp;Join a network game</source>
        <translation>&amp;Anslut till ett nätverksspel</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::NewGameDialog</name>
    <message>
        <source>Tomtura - New game</source>
        <translation>Tomtura – nytt spel</translation>
    </message>
    <message>
        <source>Computer pla&amp;yer</source>
        <translation>&amp;Datorspelare</translation>
    </message>
    <message>
        <source>&amp;Add player</source>
        <translation>&amp;Lägg till spelare</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Ta bort</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Starta</translation>
    </message>
    <message>
        <source>Ne&amp;twork...</source>
        <translation>N&amp;ätverk…</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>A&amp;vsluta</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Spelare</translation>
    </message>
    <message>
        <source>&amp;Name</source>
        <translation>&amp;Namn</translation>
    </message>
    <message>
        <source>Pass&amp;word</source>
        <translation>Lösen&amp;ord</translation>
    </message>
    <message>
        <source>&amp;Piece</source>
        <translation>&amp;Pjäs</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>Lätt</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Hard</source>
        <translation>Svår</translation>
    </message>
    <message>
        <source>Str&amp;ength</source>
        <translation>St&amp;yrka</translation>
    </message>
    <message>
        <source>&amp;Open saved game...</source>
        <translation>&amp;Öppna sparat spel…</translation>
    </message>
</context>
<context>
    <name>tomtura::PlayPageBase</name>
    <message>
        <source>Include also:</source>
        <translation>Ta även med:</translation>
    </message>
    <message>
        <source>&amp;Ask</source>
        <translation>&amp;Fråga</translation>
    </message>
    <message>
        <source>List price:</source>
        <translation>Listpris:</translation>
    </message>
    <message>
        <source>Sell property:</source>
        <translation>Sälj gata:</translation>
    </message>
    <message>
        <source>Price:</source>
        <translation>Pris:</translation>
    </message>
    <message>
        <source>Choose player:</source>
        <translation>Välj spelare:</translation>
    </message>
    <message>
        <source>Buy property:</source>
        <translation>Köp gata:</translation>
    </message>
    <message>
        <source>Choose a property. The bank lends you half its price, shown below.</source>
        <translation>Välj en gata. Banken lånar dig halva priset, som visas nedan.</translation>
    </message>
    <message>
        <source>Value of mortgage:</source>
        <translation>Inteckningens värde:</translation>
    </message>
    <message>
        <source>Choose a street in a whole colour group. Houses are built one at a time and evenly across the group; the fifth is a hotel.</source>
        <translation>Välj en gata i en hel färggrupp. Husen byggs ett i taget och jämnt över gruppen; det femte är ett hotell.</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Bygg</translation>
    </message>
    <message>
        <source>Houses:</source>
        <translation>Hus:</translation>
    </message>
    <message>
        <source>House price:</source>
        <translation>Huspris:</translation>
    </message>
</context>
<context>
    <name>tomtura::PlayWindow</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Avbryt</translation>
    </message>
</context>
<context>
    <name>tomtura::StatisticsWindow</name>
    <message>
        <source>Worth</source>
        <translation>Värde</translation>
    </message>
    <message>
        <source>Money</source>
        <translation>Pengar</translation>
    </message>
    <message>
        <source>Rent paid</source>
        <translation>Betald hyra</translation>
    </message>
    <message>
        <source>Rent received</source>
        <translation>Mottagen hyra</translation>
    </message>
    <message>
        <source>Salary</source>
        <translation>Lön</translation>
    </message>
    <message>
        <source>Taxes</source>
        <translation>Skatter</translation>
    </message>
    <message>
        <source>Cards, received less paid</source>
        <translation>Kort, mottaget minus betalt</translation>
    </message>
    <message>
        <source>Bail and fees</source>
        <translation>Borgen och avgifter</translation>
    </message>
    <message>
        <source>Properties bought from the bank</source>
        <translation>Tomter köpta av banken</translation>
    </message>
    <message>
        <source>Houses bought</source>
        <translation>Köpta hus</translation>
    </message>
    <message>
        <source>Houses sold</source>
        <translation>Sålda hus</translation>
    </message>
    <message>
        <source>Mortgages taken</source>
        <translation>Inteckningar</translation>
    </message>
    <message>
        <source>Mortgages lifted</source>
        <translation>Lösta inteckningar</translation>
    </message>
    <message>
        <source>Deals made</source>
        <translation>Affärer</translation>
    </message>
    <message>
        <source>Turns in jail</source>
        <translation>Turer i fängelset</translation>
    </message>
    <message>
        <source>Bankruptcies caused</source>
        <translation>Orsakade konkurser</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>This game was loaded without its statistics: they begin at the load.</source>
        <translation>Spelet öppnades utan sin statistik: den börjar när spelet öppnades.</translation>
    </message>
    <message>
        <source>Save chart as &amp;picture...</source>
        <translation>Spara diagrammet som &amp;bild...</translation>
    </message>
    <message>
        <source>Save table as &amp;CSV...</source>
        <translation>Spara tabellen som &amp;CSV...</translation>
    </message>
    <message>
        <source>Worth after each turn</source>
        <translation>Värde efter varje tur</translation>
    </message>
    <message>
        <source>Turn</source>
        <translation>Tur</translation>
    </message>
    <message>
        <source>Turn %1 (%2)</source>
        <translation>Tur %1 (%2)</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>%1: worth %2, money %3</source>
        <translation>%1: värde %2, pengar %3</translation>
    </message>
    <message>
        <source>Save the chart</source>
        <translation>Spara diagrammet</translation>
    </message>
    <message>
        <source>Save the table</source>
        <translation>Spara tabellen</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG-bilder (*.png)</translation>
    </message>
    <message>
        <source>CSV tables (*.csv)</source>
        <translation>CSV-tabeller (*.csv)</translation>
    </message>
    <message>
        <source>%1 cannot be written.</source>
        <translation>%1 kan inte skrivas.</translation>
    </message>
</context>
<context>
    <name>tomtura::TextWindow</name>
    <message>
        <source>Tomtura - Tips</source>
        <translation>Tomtura – tips</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>tomtura::NetworkPlay</name>
    <message>
        <source>The network connection cannot be loaded:
%1</source>
        <translation>Nätverksanslutningen kan inte läsas in:
%1</translation>
    </message>
    <message>
        <source>&amp;Wait for him</source>
        <translation>&amp;Vänta på spelaren</translation>
    </message>
    <message>
        <source>The &amp;computer plays for him</source>
        <translation>&amp;Datorn spelar i hans ställe</translation>
    </message>
</context>
<context>
    <name>tomtura::MissingPlayersWindow</name>
    <message>
        <source>Missing players</source>
        <translation>Saknade spelare</translation>
    </message>
    <message>
        <source>%1 is missing: his seat is kept for %2 s more</source>
        <translation>%1 saknas: platsen hålls i %2 s till</translation>
    </message>
    <message>
        <source>%1 is missing: the host&apos;s computer plays for him until he is back</source>
        <translation>%1 saknas: värdens dator spelar i hans ställe tills han är tillbaka</translation>
    </message>
</context>
</TS>
