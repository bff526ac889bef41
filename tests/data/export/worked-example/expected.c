
const unsigned short Default[] = {

0,1,2,
3,4,5,
};
