
const unsigned short Default[] = {

1,1,1,1,1,1,1,1,

2,2,2,2,2,2,2,2,

};
