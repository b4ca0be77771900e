# A census text and an update list that are links to files that are not there: each is read as
# empty, and the warning says why, as a link shows that the file was meant to be there.
ln -s census-gone.txt be.txt && ln -s list-gone.txt frissites.txt
