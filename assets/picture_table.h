// The table of the game's nineteen pictures, one row each in slot order: the texture
// slot it fills, the slot's enumerator, and the file it is read from. The names stand
// here alone: the loader and the slots (assets/assets.h), the picture tool, the build's
// list of the pictures it draws and installs, and the end-to-end tests take them from
// these rows; a unit test holds the manual page's list to them.
// Included where PICTURE(slot, enumerator, file) is defined, with no guard of its own.
PICTURE(1, TexBackdrop, "slotbackground.bmp")
PICTURE(2, TexReel, "slot.bmp")
PICTURE(3, TexBetOne, "betone.bmp")
PICTURE(4, TexBetFive, "betfive.bmp")
PICTURE(5, TexMarqueeOne, "marqone.bmp")
PICTURE(6, TexMarqueeFive, "marqfive.bmp")
PICTURE(7, TexWinTwo, "wintwo.bmp")
PICTURE(8, TexWinThree, "winthree.bmp")
PICTURE(9, TexWinZero, "winzero.bmp")
PICTURE(10, TexCoin, "coin.bmp")
PICTURE(11, TexTicket, "ticket.bmp")
PICTURE(12, TexMenu, "menu.bmp")
PICTURE(13, TexTokenBackdrop, "tokenbackground.bmp")
PICTURE(14, TexDollarOne, "dollarone.bmp")
PICTURE(15, TexDollarTwo, "dollartwo.bmp")
PICTURE(16, TexDollarFive, "dollarfive.bmp")
PICTURE(17, TexPrizeBackdrop, "spacestore.bmp")
PICTURE(18, TexWinner, "winner.bmp")  // the loser sign must stay right after it
PICTURE(19, TexLoser, "loser.bmp")
