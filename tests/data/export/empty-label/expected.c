
const unsigned short [] = {

9,
};
